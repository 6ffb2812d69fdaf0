#!/usr/bin/env bash
# Prepares this machine (Debian 12) for building and testing: system packages, the
# zh_CN.GBK locale, the cross-built dependencies in .deps/ and the project's Wine
# prefix. Idempotent; when everything is present it only checks and returns.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine32:i386 wine64 xvfb xdotool x11-utils imagemagick
  fonts-wqy-zenhei fonts-wqy-microhei fonts-wine locales
  cmake ninja-build googletest libjpeg-dev libminizip-dev zlib1g-dev clang clang-format
  python3 python3-pil nginx-light aria2 curl dpkg-dev
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  NEED_UPDATE=1
fi

# One dpkg-query for all: it names installed packages as binary:Package (wine32:i386).
installed=$(dpkg-query -W -f='${binary:Package} ${Package} ${db:Status-Abbrev}\n' \
  "${PACKAGES[@]%%:*}" 2>/dev/null | awk '$3 == "ii" {print $1; print $2}' || true)
missing=()
for p in "${PACKAGES[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ -n "${NEED_UPDATE:-}" ]; then
  $SUDO apt-get update -qq
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.gbk'; then
  grep -qx 'zh_CN.GBK GBK' /etc/locale.gen || echo 'zh_CN.GBK GBK' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

bash "$ROOT/scripts/build-deps.sh" i686
# The 64-bit set is only needed where the test build falls back to 64-bit Wine.
if ! bash "$ROOT/scripts/wine-env.sh" can-run-32; then
  bash "$ROOT/scripts/build-deps.sh" x86_64
fi
bash "$ROOT/scripts/wine-prefix.sh"
