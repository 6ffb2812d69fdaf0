#!/usr/bin/env bash
# The whole update against a plain download-and-unpack: update.exe, started with the
# words that the navigator passes, fetches a package from a local nginx (sendfile on,
# 127.0.0.1), installs it and starts the stand-in navigator; the peer is aria2c with five
# connections followed by unzip into a fresh copy of the same installation. The two
# alternate run by run; every installed file is checked after every run.
#   updater/bench/run.sh BUILD_DIR [RUNS] [SIZE_MIB] [LOG_CHECK_MIB]
# BUILD_DIR is a cross build (update.exe, record_start.exe and updater_probe.exe run
# under Wine). After the timed runs, one download of LOG_CHECK_MIB (default 256; 0 skips
# it) that is no archive leaves the updater's window open with its whole log, which is
# read back and checked line by line.
#
# The updater's time is counted from its start to the navigator's start. Its start-up
# (Wine's process start, the runtime, the one-second wait of its created event) ends
# when the package's first request reaches the server; "less start-up" counts from that
# request, which is the updater's time less its start-up wait.
set -euo pipefail

BUILD=$(cd "${1:?usage: run.sh BUILD_DIR [RUNS] [SIZE_MIB] [LOG_CHECK_MIB]}" && pwd)
RUNS=${2:-5}
SIZE_MIB=${3:-64}
LOG_MIB=${4:-256}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE_RUN=$ROOT/scripts/wine-run
. "$ROOT/scripts/bench-common.sh"
# A prefix of its own: one wineserver serves every program of a prefix, one request at a
# time, so tests running in the shared prefix meanwhile would distort the figures.
export TV_WINEPREFIX=${TV_WINEPREFIX:-/tmp/tv-update-bench-wine}
# A free port unless one is given: other benchmarks may run beside this one.
PORT=${BENCH_PORT:-$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}

find_exe() { find "$BUILD" -name "$1" -path "*$2*" | head -1; }
UPDATE_EXE=$(find_exe update.exe dist/main_update)
RECORD_START=$(find_exe record_start.exe updater/tests)
PROBE=$(find_exe updater_probe.exe updater/tests)
for f in "$UPDATE_EXE" "$RECORD_START" "$PROBE"; do
  [ -f "$f" ] || { echo "missing program in $BUILD" >&2; exit 1; }
done

bench_workspace update-bench

mkdir -p "$WORK/www/gx" "$WORK/logs" "$WORK/tmp" "$WORK/pkg"
chmod 755 "$WORK" "$WORK/www" "$WORK/www/gx"
head -c $((SIZE_MIB * 1024 * 1024)) /dev/urandom > "$WORK/pkg/big.bin"
cp "$RECORD_START" "$WORK/pkg/Talvery.exe"
(cd "$WORK/pkg" && zip -q "$WORK/www/gx/package.zip" big.bin Talvery.exe)
chmod 644 "$WORK/www/gx/package.zip"
(cd "$WORK/pkg" && sha256sum big.bin Talvery.exe) > "$WORK/want.sha256"

# The installation before the update: the updater below main_update, an old navigator
# (the stand-in, so that a relaunch of the old one would be seen as well) and old files.
TEMPLATE=$SHM/template
mkdir -p "$TEMPLATE/main_update"
cp "$UPDATE_EXE" "$TEMPLATE/main_update/update.exe"
cp "$RECORD_START" "$TEMPLATE/Talvery.exe"
head -c 1000 /dev/urandom > "$TEMPLATE/big.bin"
echo old > "$TEMPLATE/readme.txt"

bench_start_nginx "$WORK" "$PORT" "log_format timed '\$msec \$request_time \"\$http_range\" \$uri';
  access_log $WORK/logs/access.log timed;"

URL="http://127.0.0.1:$PORT/gx/package.zip"
# Wine sees the Unix root as Z:.
win_path() { echo "Z:${1//\//\\}"; }

# Fails unless every file of the package lies in $1 with its content.
check_installed() {
  if ! (cd "$1" && sha256sum --quiet -c "$WORK/want.sha256"); then
    echo "wrong installation after $2" >&2
    return 1
  fi
}

now() { date +%s.%N; }

# The start of the first request for path $1 logged after line $2 of the access log.
first_request_start() {
  tail -n +"$(($2 + 1))" "$WORK/logs/access.log" | awk -v uri="$1" '$4 == uri && $3 == "\"-\"" { printf "%.3f\n", $1 - $2; exit }'
}

# The end of the last request logged after line $1 of the access log.
last_request_end() {
  tail -n +"$(($1 + 1))" "$WORK/logs/access.log" | awk '{ if ($1 > end) end = $1 } END { printf "%.3f\n", end }'
}

log_lines() { wc -l < "$WORK/logs/access.log"; }

# One update: prints "total less-start-up download" in seconds; the download runs from
# the first request's start to the last request's end.
run_updater() {
  local inst=$SHM/inst-$1
  rm -rf "$inst"
  cp -a "$TEMPLATE" "$inst"
  local before start
  before=$(log_lines)
  start=$(now)
  bench_run "$inst/main_update/update.exe" kqzrmesh_junction "$URL" Talvery2.03 run Talvery.exe \
    package.zip 修复问题 > "$WORK/update.out" 2>&1 < /dev/null
  [ -f "$inst/started.log" ] || { echo "the navigator was not started again" >&2; return 1; }
  grep -qi 'main_update\\..\\Talvery.exe' "$inst/started.log" || { echo "wrong relaunch" >&2; return 1; }
  local relaunched first last
  relaunched=$(stat -c %.9Y "$inst/started.log")
  first=$(first_request_start /gx/package.zip "$before")
  last=$(last_request_end "$before")
  check_installed "$inst" update
  [ ! -e "$inst/main_update/main_update/temp1.zip" ] || { echo "the package stayed" >&2; return 1; }
  rm -rf "$inst"
  echo "$(echo "$relaunched - $start" | bc -l) $(echo "$relaunched - $first" | bc -l) $(echo "$last - $first" | bc -l)"
}

run_peer() {
  local inst=$SHM/peer-$1
  rm -rf "$inst" "$SHM/dl"
  cp -a "$TEMPLATE" "$inst"
  mkdir -p "$SHM/dl"
  local start end
  start=$(now)
  aria2c -q -x5 -s5 -k1M --file-allocation=none --allow-overwrite=true -d "$SHM/dl" -o package.zip "$URL"
  unzip -o -q "$SHM/dl/package.zip" -d "$inst"
  end=$(now)
  check_installed "$inst" peer
  rm -rf "$inst" "$SHM/dl"
  echo "$end - $start" | bc -l
}


# Start Wine once so that the first run does not pay for the prefix.
"$WINE_RUN" "$PROBE" list none > /dev/null 2>&1 < /dev/null || true
bench_direct_start

echo "package: $(stat -c %s "$WORK/www/gx/package.zip") bytes; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
TOTAL="" NET="" PEER=""
for run in $(seq "$RUNS"); do
  read -r total net download <<< "$(run_updater "$run")"
  peer=$(run_peer "$run")
  TOTAL+="$total " NET+="$net " PEER+="$peer "
  printf 'run %d  update %6.3f s (less start-up %6.3f s, download %6.3f s)  aria2c+unzip %6.3f s  load %s\n' \
    "$run" "$total" "$net" "$download" "$peer" "$(cut -d' ' -f1 /proc/loadavg)"
done
mt=$(echo "$TOTAL" | median) mn=$(echo "$NET" | median) mp=$(echo "$PEER" | median)
printf 'update            median %6.3f s  (%s)\n' "$mt" "$(echo "$TOTAL" | spread)"
printf 'less start-up     median %6.3f s  (%s)\n' "$mn" "$(echo "$NET" | spread)"
STARTUP=$(paste -d- <(echo "$TOTAL" | tr ' ' '\n' | grep -v '^$') <(echo "$NET" | tr ' ' '\n' | grep -v '^$') | bc -l | tr '\n' ' ')
printf 'start-up          median %6.3f s  (%s)  from the start to the first request\n' \
  "$(echo "$STARTUP" | median)" "$(echo "$STARTUP" | spread)"
printf 'aria2c + unzip    median %6.3f s  (%s)\n' "$mp" "$(echo "$PEER" | spread)"
printf 'update less start-up / peer  %.2f\n' "$(echo "$mn / $mp" | bc -l)"
printf 'update whole / peer          %.2f\n' "$(echo "$mt / $mp" | bc -l)"

[ "$LOG_MIB" -gt 0 ] || exit 0
# The log of a long download: a body that is no archive is downloaded whole, is not
# installed, and the window stays open with every line.
head -c $((LOG_MIB * 1024 * 1024)) /dev/urandom > "$WORK/www/gx/notzip.bin"
chmod 644 "$WORK/www/gx/notzip.bin"
inst=$SHM/inst-log
cp -a "$TEMPLATE" "$inst"
start=$(now)
bench_run "$inst/main_update/update.exe" kqzrmesh_junction "http://127.0.0.1:$PORT/gx/notzip.bin" \
  Talvery2.03 run Talvery.exe notzip.bin > "$WORK/update-log.out" 2>&1 < /dev/null &
UPDATER=$!
python3 "$ROOT/updater/bench/log_check.py" "$PROBE" $((LOG_MIB * 1024 * 1024)) "$start"
wait "$UPDATER"
echo "log check: the updater ended with exit code $?"
