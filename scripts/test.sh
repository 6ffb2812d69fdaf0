#!/usr/bin/env bash
# The test command: set-up, the cross build with its tests under Wine, then the host
# build of the portable code with sanitizers. Exits non-zero if anything failed.
#
# Where this kernel cannot run 32-bit code (the 32-bit Wine loader fails with "Exec
# format error"), the 32-bit build is still built in full, and the tests run from the
# same tree built for 64-bit Windows (build-x64/) under 64-bit Wine.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
. scripts/wine-env.sh
# The Xvfb and the wineserver that the tests start are stopped again at the end.
tv_stop_on_exit
bash scripts/setup.sh || exit 1
tv_start_xvfb

failed=0
summaries=()

# The tree keeps the layout that .clang-format commits to.
if git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  summaries+=("format: every C++ file as .clang-format lays it out")
else
  summaries+=("format: FILES NOT FORMATTED (clang-format -i the files named above)"); failed=1
fi

# configure_build <dir> [cmake args...]: configure once, build every time.
configure_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 \
      || { cat "$dir.configure.log"; return 1; }
  fi
  ninja -C "$dir"
}

run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure -j8 --timeout 600 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  summaries+=("$dir: $(grep -E 'tests passed|No tests were found' "$log" | tail -n1)")
  rm -f "$log"
  return "$rc"
}

if configure_build build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake; then
  if tv_can_run_32; then
    run_ctest build || failed=1
  else
    echo "test: this kernel cannot run 32-bit code; running the Win32 tests from build-x64"
    if configure_build build-x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake; then
      run_ctest build-x64 || failed=1
    else
      summaries+=("build-x64: BUILD FAILED"); failed=1
    fi
  fi
else
  summaries+=("build: BUILD FAILED"); failed=1
fi

if configure_build build-host; then
  run_ctest build-host || failed=1
else
  summaries+=("build-host: BUILD FAILED"); failed=1
fi

# The fuzzers of the readers of untrusted bytes, briefly (bash fuzz/run.sh SECONDS for longer).
fuzz_log=$(mktemp)
bash fuzz/run.sh 15 2>&1 | tee "$fuzz_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
while IFS= read -r line; do summaries+=("$line"); done < <(grep -E '^fuzz ' "$fuzz_log")
grep -qE '^fuzz ' "$fuzz_log" || summaries+=("build-fuzz: BUILD FAILED")
rm -f "$fuzz_log"

echo
echo "== Summary =="
printf '%s\n' "${summaries[@]}"
exit "$failed"
