# Environment of the project's Wine: sourced by wine-run, wine-prefix.sh and the test
# scripts. Uses the checkout's own prefix (.wine/) and its own Xvfb display, never the
# user's ~/.wine. Run as a command, "can-run-32" tells whether this kernel can start
# the 32-bit Wine loader (some sandboxes refuse 32-bit code: Exec format error).
TV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TV_ROOT
export WINEPREFIX=${TV_WINEPREFIX:-$TV_ROOT/.wine}
export WINEDEBUG=${WINEDEBUG:--all}
# Keeps Wine from offering to install Mono.
export WINEDLLOVERRIDES="mscoree="
# All programs of one wineserver must use one display (its desktop process stays on
# the first one), so the display is fixed rather than chosen per run.
export TV_DISPLAY=${TV_DISPLAY:-:87}
# The display the caller brought, kept before DISPLAY is pointed at the project's own:
# only the first sourcing sees it (the scripts source this file more than once).
if [ -z "${TV_USER_DISPLAY+set}" ]; then
  export TV_USER_DISPLAY=${DISPLAY:-}
fi
export DISPLAY=$TV_DISPLAY
export TV_URL_LOG=${TV_URL_LOG:-$TV_ROOT/build/captured-urls.log}

tv_can_run_32() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The loader for a program: the 32-bit one where it runs, else the 64-bit one (which
# runs only the 64-bit test build).
tv_wine_loader() {
  if tv_can_run_32; then echo wine; else echo /usr/lib/wine/wine64; fi
}

tv_start_xvfb() {
  xdpyinfo -display "$TV_DISPLAY" >/dev/null 2>&1 && return 0
  mkdir -p "$WINEPREFIX.locks"
  (
    flock 9
    if ! xdpyinfo -display "$TV_DISPLAY" >/dev/null 2>&1; then
      setsid Xvfb "$TV_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null 9>&- &
      for _ in $(seq 100); do
        xdpyinfo -display "$TV_DISPLAY" >/dev/null 2>&1 && break
        sleep 0.05
      done
    fi
  ) 9>"$WINEPREFIX.locks/xvfb"
}

tv_xvfb_pid() {
  pgrep -f "^Xvfb $TV_DISPLAY( |\$)" | head -n1
}

tv_stop_xvfb() {
  local pid
  pid=$(tv_xvfb_pid) || true
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  # Gone before we return, so that a display started next does not meet it.
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.05
  done
  return 0
}

# Whether a wineserver runs for this prefix: its socket lies in a folder named after
# the prefix's device and inode.
tv_wineserver_running() {
  [ -d "$WINEPREFIX" ] || return 1
  local dir
  dir=$(printf '/tmp/.wine-%s/server-%x-%x' "$(id -u)" \
        "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  [ -S "$dir/socket" ]
}

# What a script starts (the Xvfb, the wineserver) it stops again on its way out; what
# was already running when it began stays. Call once, early; sets an EXIT trap that
# runs tv_on_exit, which scripts may extend.
tv_stop_on_exit() {
  TV_STARTED_XVFB=1; [ -n "$(tv_xvfb_pid)" ] && TV_STARTED_XVFB=0
  TV_STARTED_WINESERVER=1; tv_wineserver_running && TV_STARTED_WINESERVER=0
  trap tv_on_exit EXIT
}

# Written with if, not &&: the callers run under set -e, where a failing last command
# of an && list (no wineserver left to kill) would end the trap before the Xvfb goes.
tv_on_exit() {
  if [ "${TV_STARTED_WINESERVER:-0}" = 1 ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ "${TV_STARTED_XVFB:-0}" = 1 ]; then tv_stop_xvfb; fi
  return 0
}

# A persistent wineserver makes each program start in a fraction of the time.
# "wineserver -p" leaves with 2 when a server already runs for this prefix. A fresh
# server also needs its service processes started here, detached from our output:
# started by the first test program instead, they would keep its stdout open and
# the caller (ctest, $(...)) would wait for them forever. Nothing started under the
# lock may keep its descriptor (9>&-), or the lock is held for the server's life.
tv_warm_wineserver() {
  mkdir -p "$WINEPREFIX.locks"
  (
    flock 9
    if wineserver -p >/dev/null 2>&1 </dev/null 9>&-; then
      LC_ALL=zh_CN.GBK "$(tv_wine_loader)" cmd.exe /c exit >/dev/null 2>&1 </dev/null 9>&-
    fi
  ) 9>"$WINEPREFIX.locks/wineserver"
}

if [ "${BASH_SOURCE[0]}" = "$0" ] && [ "${1:-}" = can-run-32 ]; then
  tv_can_run_32
fi
