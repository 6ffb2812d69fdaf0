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
