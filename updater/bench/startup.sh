#!/usr/bin/env bash
# From the start of update.exe to its window on the screen, against the start of a peer
# on the same runtime that shows its window at once (shown_at_once), alternating run by
# run. The updater is started with the navigator's command line for a package on a local
# server (127.0.0.1; the package is missing there, so nothing gets installed), and its
# window comes only after its start-up wait of a thousand passes of (serve the waiting
# messages, 1 ms pause) and the launch check.
#   updater/bench/startup.sh BUILD_DIR [RUNS]
# BUILD_DIR is a cross build (build-x64 where this kernel cannot run 32-bit code).
set -euo pipefail

BUILD=$(cd "${1:?usage: startup.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-7}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE_RUN=$ROOT/scripts/wine-run
# A prefix of its own: one wineserver serves every program of a prefix, so tests running
# in the shared prefix meanwhile would distort the figures.
export TV_WINEPREFIX=${TV_WINEPREFIX:-/tmp/tv-startup-bench-wine}
export TV_DISPLAY=${TV_DISPLAY:-:87}
export DISPLAY=$TV_DISPLAY
PORT=${BENCH_PORT:-18474}
TITLE="Quorvel升级管理器"
PEER_TITLE="tv-shown-at-once"

WORK=$(mktemp -d /tmp/startup-bench.XXXXXX)
SERVER_PID=
PROGRAM_PID=
cleanup() {
  [ -n "$PROGRAM_PID" ] && kill -9 "$PROGRAM_PID" 2>/dev/null || true
  [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK/www" "$WORK/inst"
cp -r "$BUILD/dist/." "$WORK/inst/"
cp "$BUILD/updater/shown_at_once.exe" "$WORK/inst/"
python3 -m http.server --bind 127.0.0.1 --directory "$WORK/www" "$PORT" > /dev/null 2>&1 &
SERVER_PID=$!
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$PORT/" && break; sleep 0.1; done

# The window's X name may come in UTF-8 or in the program's code page.
TITLE_GBK=$(printf '%s' "$TITLE" | iconv -f UTF-8 -t GBK)
shown() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -q . && return 0
  [ -n "${2:-}" ] && xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | grep -q .
}

# Waits until the started program's window is on the screen, looked for every 10 ms (a
# tighter look would take the processor from the program it waits for); fails when the
# program ends first or after 60 s.
await_window() {
  local deadline=$((SECONDS + 60))
  until shown "$@"; do
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null || [ $SECONDS -gt $deadline ]; then
      echo "no window: $1" >&2
      return 1
    fi
    sleep 0.01
  done
}

# One run: the seconds from the start to the window on the screen.
run_one() {
  local start end
  start=$(date +%s.%N)
  case "$1" in
    updater)
      "$WINE_RUN" "$WORK/inst/main_update/update.exe" kqzrmesh_junction \
        "http://127.0.0.1:$PORT/Talvery_update.zip" Talvery2.03 run Talvery.exe Talvery_update.zip \
        > /dev/null 2>&1 < /dev/null &
      PROGRAM_PID=$!
      await_window "$TITLE" "$TITLE_GBK" ;;
    peer)
      "$WINE_RUN" "$WORK/inst/shown_at_once.exe" > /dev/null 2>&1 < /dev/null &
      PROGRAM_PID=$!
      await_window "$PEER_TITLE" ;;
  esac
  end=$(date +%s.%N)
  kill -9 "$PROGRAM_PID" 2>/dev/null || true
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
  # Until the window has gone, so that the next run does not find it.
  while shown "$TITLE" "$TITLE_GBK" || shown "$PEER_TITLE"; do sleep 0.05; done
  # Wine's clean-up of the killed program, away from the next start.
  sleep 1
  echo "$end - $start" | bc -l
}

# Prefix, display and wineserver up before the first measured run.
run_one peer > /dev/null

declare -A TIMES
for run in $(seq "$RUNS"); do
  for program in peer updater; do
    t=$(run_one "$program")
    TIMES[$program]+="$t "
    printf 'run %d %-8s %6.3f s\n' "$run" "$program" "$t"
  done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
peer=$(echo "${TIMES[peer]}" | median)
updater=$(echo "${TIMES[updater]}" | median)
printf 'peer     median %6.3f s\n' "$peer"
printf 'updater  median %6.3f s\n' "$updater"
printf 'updater - peer  %6.3f s  (the start-up wait; target at most 1.2 s)\n' "$(echo "$updater - $peer" | bc -l)"
printf 'updater / peer  %6.2f\n' "$(echo "$updater / $peer" | bc -l)"
# The floor under the wait: how long this machine's own 1 ms sleeps last just now.
python3 -c 'import time
t = time.perf_counter()
for _ in range(1000): time.sleep(0.001)
print("host: 1000 sleeps of 1 ms  %6.3f s" % (time.perf_counter() - t))'
