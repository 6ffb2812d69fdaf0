#!/usr/bin/env bash
# The main job: set-up, the cross build, then scripts/run-main-job.sh (the stand-in
# server and the navigator), which gets this script's arguments and TV_BUILD_DIR.
# Where this kernel cannot run 32-bit code, the job runs from the 64-bit build.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
. scripts/wine-env.sh
# What the set-up or the job starts (the Xvfb, the wineserver) is stopped at the end.
tv_stop_on_exit
bash scripts/setup.sh

build() {  # build <dir> <toolchain>
  [ -f "$1/build.ninja" ] || cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" >/dev/null
  ninja -C "$1"
}
build build cmake/mingw-i686.cmake
run_dir=build
if ! tv_can_run_32; then
  echo "run: this kernel cannot run 32-bit code; the job runs from the 64-bit build (build-x64)"
  build build-x64 cmake/mingw-x86_64.cmake
  run_dir=build-x64
fi

if [ ! -f "$run_dir/dist/Talvery.exe" ]; then
  echo "run: $run_dir/dist/Talvery.exe is not there yet; nothing to start"
  exit 0
fi
TV_BUILD_DIR=$ROOT/$run_dir bash scripts/run-main-job.sh "$@"
