#!/usr/bin/env bash
# Creates the project's Wine prefix once: no window-manager wait, Chinese fonts for the
# names the programs ask for, and a browser that only records the URLs it is given.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# Raise when the settings below change, so that existing prefixes are set up again.
VERSION=1
STAMP=$WINEPREFIX/.tv-ready-$VERSION

# Wine draws the window frames' buttons with Marlett; this Wine does not search the
# folder of Debian's fonts-wine, so without a copy in the prefix they show as letters.
give_marlett() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$fonts/marlett.ttf" ] && return 0
  [ -f /usr/share/wine/fonts/marlett.ttf ] || { echo "wine-prefix: marlett.ttf is missing (fonts-wine)" >&2; return 1; }
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

[ -f "$STAMP" ] && { give_marlett; exit 0; }

mkdir -p "$WINEPREFIX.locks"
# Children must not inherit the lock (9>&-): the wineserver they start outlives us.
exec 9>"$WINEPREFIX.locks/prefix"
flock 9
[ -f "$STAMP" ] && exit 0

tv_start_xvfb
export LC_ALL=zh_CN.GBK
WINE=$(tv_wine_loader)
echo "wine-prefix: creating $WINEPREFIX"
# mshtml= as well during creation: no Gecko installation either.
WINEDLLOVERRIDES="mscoree=;mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 9>&-
wineserver -w

# Without a window manager every destroyed window otherwise waits 2 s for one.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 9>&-
"$WINE" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ \
  /d "$TV_ROOT/scripts/e2e/capture-url" /f >/dev/null 9>&-

# regedit wants UTF-16 for the Chinese font name.
reg=$WINEPREFIX/tv-fonts.reg
python3 - "$reg" <<'PY'
import sys
names = ["SimSun", "宋体", "MS Shell Dlg", "MS Shell Dlg 2", "微软雅黑", "Microsoft YaHei"]
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]"]
lines += ['"%s"="WenQuanYi Micro Hei"' % n for n in names]
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("utf-16"))
PY
"$WINE" regedit /S "$reg" 9>&-
wineserver -w
give_marlett
touch "$STAMP"
