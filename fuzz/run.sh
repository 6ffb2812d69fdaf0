#!/usr/bin/env bash
# Builds the fuzzers in build-fuzz/ and runs all of them at once for SECONDS each
# (default 15), starting from fuzz/corpus/<target> (with fuzz/dict/<target>.dict
# where there is one). New inputs collect in
# build-fuzz/corpus/<target>, crashing ones in build-fuzz/artifacts/<target>/.
# Prints one summary line per fuzzer and exits non-zero when one crashed.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SECONDS_EACH=${1:-15}
BUILD="$ROOT/build-fuzz"
TARGETS=(xml_fuzz http_reply_fuzz template_fuzz picture_fuzz command_words_fuzz
         entry_name_fuzz values_text_fuzz)

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    >"$BUILD.configure.log" 2>&1 || { cat "$BUILD.configure.log"; exit 1; }
fi
ninja -C "$BUILD" || exit 1

pids=()
for target in "${TARGETS[@]}"; do
  mkdir -p "$BUILD/corpus/$target" "$BUILD/artifacts/$target"
  dict=()
  [ -f "$ROOT/fuzz/dict/$target.dict" ] && dict=(-dict="$ROOT/fuzz/dict/$target.dict")
  "$BUILD/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 "${dict[@]}" \
    -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target/" \
    "$BUILD/corpus/$target" "$ROOT/fuzz/corpus/$target" >"$BUILD/$target.log" 2>&1 &
  pids+=($!)
done

failed=0
for i in "${!TARGETS[@]}"; do
  target=${TARGETS[$i]}
  wait "${pids[$i]}"
  rc=$?
  log="$BUILD/$target.log"
  execs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  last=$(grep -E '^#[0-9]+' "$log" | tail -n1)
  cov=$(grep -oE 'cov: [0-9]+' <<<"$last")
  ft=$(grep -oE 'ft: [0-9]+' <<<"$last")
  if [ "$rc" -eq 0 ]; then
    echo "fuzz $target: passed, ${execs:-?} runs, ${cov:-cov: ?} ${ft:-ft: ?}"
  else
    failed=1
    echo "fuzz $target: FAILED (exit $rc), see $log and $BUILD/artifacts/$target/"
  fi
done
exit "$failed"
