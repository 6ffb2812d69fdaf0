#!/usr/bin/env bash
# Throughput of the engine against curl and aria2c, fetching one file from a local nginx
# (sendfile on, 127.0.0.1) into /dev/shm, alternating the three clients run by run.
#   download/bench/run.sh ENGINE_BENCH_EXE [RUNS] [SIZE_MIB]
# ENGINE_BENCH_EXE is the engine_bench program of a cross build; it runs under Wine.
set -euo pipefail

DRIVER=${1:?usage: run.sh ENGINE_BENCH_EXE [RUNS] [SIZE_MIB]}
RUNS=${2:-5}
SIZE_MIB=${3:-256}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE_RUN=$ROOT/scripts/wine-run
. "$ROOT/scripts/bench-common.sh"
# A prefix of its own: one wineserver serves every program of a prefix, one request at a
# time, so tests running in the shared prefix meanwhile would distort the figures.
export TV_WINEPREFIX=${TV_WINEPREFIX:-/tmp/tv-bench-wine}
PORT=${BENCH_PORT:-18473}

bench_workspace engine-bench

mkdir -p "$WORK/www"
chmod 755 "$WORK" "$WORK/www"
head -c $((SIZE_MIB * 1024 * 1024)) /dev/urandom > "$WORK/www/big.bin"
chmod 644 "$WORK/www/big.bin"
WANT=$(sha256sum "$WORK/www/big.bin" | cut -d' ' -f1)
BYTES=$(stat -c %s "$WORK/www/big.bin")

bench_start_nginx "$WORK" "$PORT"

URL="http://127.0.0.1:$PORT/big.bin"
OUT=$SHM/big.bin
# Wine sees the Unix root as Z:.
OUT_WIN="Z:${OUT//\//\\}"

# One run: prints the seconds it took, fails when the file's hash is wrong.
run_one() {
  rm -f "$OUT"
  local start end
  start=$(date +%s.%N)
  case "$1" in
    engine) bench_run "$DRIVER" "$URL" "$OUT_WIN" 5 > "$WORK/engine.out" < /dev/null ;;
    curl) curl -sf -o "$OUT" "$URL" ;;
    aria2c) aria2c -q -x5 -s5 -k1M --file-allocation=none --allow-overwrite=true \
              -d "$SHM" -o big.bin "$URL" ;;
  esac
  end=$(date +%s.%N)
  local got
  got=$(sha256sum "$OUT" | cut -d' ' -f1)
  if [ "$got" != "$WANT" ]; then
    echo "hash mismatch after $1" >&2
    return 1
  fi
  echo "$end - $start" | bc -l
}

# Start Wine once so that the first engine run does not pay for the prefix.
"$WINE_RUN" "$DRIVER" > /dev/null 2>&1 < /dev/null || true
bench_direct_start

declare -A TIMES
for run in $(seq "$RUNS"); do
  for client in engine curl aria2c; do
    t=$(run_one "$client")
    TIMES[$client]+="$t "
    extra=""
    [ "$client" = engine ] && extra="  (in the program: $(cat "$WORK/engine.out"))"
    printf 'run %d %-7s %6.3f s%s\n' "$run" "$client" "$t" "$extra"
  done
done

declare -A MBPS
for client in engine curl aria2c; do
  m=$(echo "${TIMES[$client]}" | median)
  MBPS[$client]=$(echo "$BYTES / 1048576 / $m" | bc -l)
  printf '%-7s median %6.3f s  %8.1f MiB/s\n' "$client" "$m" "${MBPS[$client]}"
done
printf 'engine / curl   %.2f\n' "$(echo "${MBPS[engine]} / ${MBPS[curl]}" | bc -l)"
printf 'engine / aria2c %.2f\n' "$(echo "${MBPS[engine]} / ${MBPS[aria2c]}" | bc -l)"
