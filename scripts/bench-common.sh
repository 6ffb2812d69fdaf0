# Sourced by the benchmarks: their scratch folders, a local nginx that serves WORK/www on
# 127.0.0.1 with sendfile, and the figures' helpers.

# bench_workspace NAME: WORK (under /tmp) and SHM (under /dev/shm), removed on exit
# together with the nginx and the wineserver of TV_WINEPREFIX.
bench_workspace() {
  WORK=$(mktemp -d "/tmp/$1.XXXXXX")
  SHM=$(mktemp -d "/dev/shm/$1.XXXXXX")
  trap bench_cleanup EXIT
}

bench_cleanup() {
  bench_stop_nginx "$WORK"
  WINEPREFIX=$TV_WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$WORK" "$SHM"
}

# bench_start_nginx WORK PORT [ACCESS_LOG]: ACCESS_LOG is the access_log line of the
# http block (default: off). Returns once the server answers.
bench_start_nginx() {
  local work=$1 port=$2 access=${3:-"access_log off;"}
  mkdir -p "$work/logs" "$work/tmp"
  cat > "$work/nginx.conf" <<CONF
daemon on;
worker_processes 2;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections 256; }
http {
  $access
  sendfile on;
  tcp_nopush on;
  client_body_temp_path $work/tmp;
  proxy_temp_path $work/tmp;
  fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp;
  scgi_temp_path $work/tmp;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
CONF
  nginx -p "$work" -c "$work/nginx.conf"
  # Any answer will do (without -f, curl succeeds on an error status too).
  for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$port/" && return 0
    sleep 0.1
  done
}

bench_stop_nginx() {
  [ -f "$1/nginx.pid" ] && kill "$(cat "$1/nginx.pid")" 2>/dev/null
  return 0
}

# Median and range of the numbers on standard input (blank-separated).
median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
spread() { tr ' ' '\n' | grep -v '^$' | sort -g | awk 'NR==1{lo=$1} {hi=$1} END {printf "%.3f-%.3f", lo, hi}'; }

# bench_direct_start: call after one start through scripts/wine-run, which leaves the
# prefix, the display and a persistent wineserver in place. bench_run then starts a
# program as a shell starts it, with the Wine loader alone: wine-run checks the prefix,
# the display and the server on every start, which cost 0.1-0.2 s a start on the machine
# where this was measured, and no user waits for that.
bench_direct_start() {
  . "$ROOT/scripts/wine-env.sh"
  BENCH_LOADER=$(tv_wine_loader)
}
bench_run() { LC_ALL=zh_CN.GBK "$BENCH_LOADER" "$@"; }
