#!/usr/bin/env bash
# The main job: the local stand-in for the maker's server on 127.0.0.1:8460 and the
# navigator from the build's installation folder, under the project's Wine.
#
# On the user's display (DISPLAY set and reachable) the navigator runs until it ends.
# Without one it runs on the project's Xvfb: a screenshot of the main window (and of the
# popup, once it has risen) is saved, then the navigator is stopped.
#
#   TV_BUILD_DIR   build folder with dist/ (default: build)
#   TV_PORT        server port (default 8460, which the build's addresses point at)
#   TV_SHOTS       where the screenshots go (default: $TV_BUILD_DIR/screenshots)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TV_BUILD_DIR:-$ROOT/build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
DIST=$BUILD/dist
PORT=${TV_PORT:-8460}
SHOTS=${TV_SHOTS:-$BUILD/screenshots}

if [ ! -f "$DIST/Talvery.exe" ]; then
  echo "run-main-job: $DIST/Talvery.exe is missing; build first:" >&2
  echo "  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake && ninja -C build" >&2
  exit 1
fi

# Where this kernel refuses 32-bit code, only a 64-bit test build can run here.
if ! bash "$ROOT/scripts/wine-env.sh" can-run-32 && file "$DIST/Talvery.exe" | grep -q 'PE32 executable'; then
  echo "run-main-job: this machine cannot run 32-bit programs; build the 64-bit test build" >&2
  echo "  (cmake/mingw-x86_64.cmake) and point TV_BUILD_DIR at it" >&2
  exit 1
fi

# The user's display is the one the caller brought (run.sh keeps it in TV_USER_DISPLAY
# before pointing DISPLAY at the project's Xvfb), never the project's own virtual one,
# which the tests may have left running.
user_display=${TV_USER_DISPLAY-${DISPLAY:-}}
on_user_display=0
if [ -n "$user_display" ] && [ "$user_display" != "${TV_DISPLAY:-:87}" ] \
   && xdpyinfo -display "$user_display" >/dev/null 2>&1; then
  on_user_display=1
  export TV_DISPLAY=$user_display
fi
. "$ROOT/scripts/wine-env.sh"
tv_stop_on_exit
bash "$ROOT/scripts/wine-prefix.sh"
tv_start_xvfb
tv_warm_wineserver

server_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  tv_on_exit
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The navigator's end-to-end tests take the same port; they hold this lock meanwhile.
exec 8>"/tmp/tv-server-$PORT.lock"
if ! flock -w 600 8; then
  echo "run-main-job: port $PORT stays taken by the navigator's tests" >&2
  exit 1
fi

ready=$(mktemp)
python3 "$ROOT/tools/server/stand_in_server.py" --port "$PORT" --package-from "$DIST" \
  --ready-file "$ready" 8>&- &
server_pid=$!
for _ in $(seq 100); do
  [ -s "$ready" ] && break
  kill -0 "$server_pid" 2>/dev/null || { echo "run-main-job: the server did not start" >&2; exit 1; }
  sleep 0.05
done
rm -f "$ready"

cd "$DIST"
LC_ALL=zh_CN.GBK "$(tv_wine_loader)" ./Talvery.exe 8>&- &
program_pid=$!
echo "run-main-job: Talvery.exe runs on display $DISPLAY (server http://127.0.0.1:$PORT)"

if [ "$on_user_display" = 1 ]; then
  set +e
  wait "$program_pid"
  code=$?
  set -e
  program_pid=
  echo "run-main-job: Talvery.exe ended with code $code"
  exit 0
fi

# Depending on the Wine build, X window names are UTF-8 or in the program's code page.
find_window() {  # name regex (UTF-8), seconds
  local gbk_pattern deadline id
  gbk_pattern=$(printf '%s' "$1" | iconv -f UTF-8 -t GBK)
  deadline=$((SECONDS + $2))
  while [ $SECONDS -lt "$deadline" ]; do
    kill -0 "$program_pid" 2>/dev/null || return 1
    id=$( (xdotool search --onlyvisible --name "$1"; xdotool search --onlyvisible --name "$gbk_pattern") \
          2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

mkdir -p "$SHOTS"
if main=$(find_window '^图片导航工具$' 30); then
  sleep 2  # let the pictures and the bottom bar paint
  import -window "$main" "$SHOTS/main-window.png"
  echo "run-main-job: screenshot of the main window: $SHOTS/main-window.png"
else
  echo "run-main-job: the main window did not appear" >&2
  exit 1
fi

# The popup comes with the first poll (10 s) and rises for about 1.4 s.
sleep 14
if kill -0 "$program_pid" 2>/dev/null; then
  import -window root "$SHOTS/screen-with-popup.png"
  echo "run-main-job: screenshot of the screen with the popup: $SHOTS/screen-with-popup.png"
fi
echo "run-main-job: stopping Talvery.exe and the server"
