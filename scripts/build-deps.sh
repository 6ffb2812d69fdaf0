#!/usr/bin/env bash
# Cross-builds the dependencies that Debian does not ship for MinGW into
# .deps/<arch> (arch: i686 or x86_64): libjpeg-turbo (6.2 API, static, no SIMD) and
# minizip from Debian's source packages, GoogleTest from /usr/src/googletest.
# zlib itself comes from Debian's libz-mingw-w64-dev. Skips an arch already built.
set -euo pipefail
ARCH=${1:?usage: build-deps.sh i686|x86_64}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DEPS=$ROOT/.deps
PREFIX=$DEPS/$ARCH
SRC=$DEPS/src
WORK=$DEPS/build/$ARCH
TOOLCHAIN=$ROOT/cmake/mingw-$ARCH.cmake
TRIPLE=$ARCH-w64-mingw32
# Raise when the recipe below changes, so that existing prefixes are rebuilt.
RECIPE=2
STAMP=$PREFIX/.complete-$RECIPE
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

[ -f "$STAMP" ] && exit 0
started=$SECONDS
echo "build-deps: building the $ARCH dependencies into .deps/$ARCH"

# apt-get source needs deb-src entries; derive them from the machine's own list so
# that no mirror is named anywhere but in the machine's configuration.
ensure_deb_src() {
  apt-cache showsrc zlib 2>/dev/null | grep -q '^Package: zlib' && return 0
  local list=/etc/apt/sources.list.d/debian.sources
  local out=/etc/apt/sources.list.d/tv-deb-src.sources
  if [ -f "$list" ]; then
    sed -E 's/^Types:.*/Types: deb-src/' "$list" | $SUDO tee "$out" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | $SUDO tee /etc/apt/sources.list.d/tv-deb-src.list >/dev/null
  else
    echo "build-deps: no Debian source list to derive deb-src entries from" >&2
    exit 1
  fi
  $SUDO apt-get update -qq
}

# Unpacks a Debian source package once into .deps/src and prints its folder.
fetch_source() {
  local pkg=$1 dir
  dir=$(find "$SRC" -maxdepth 1 -mindepth 1 -type d -name "$2" | head -n1)
  if [ -z "$dir" ]; then
    ensure_deb_src
    # The newest version can be missing from a mirror that lags behind its own
    # index (seen with security updates); fall back to the older ones.
    local v
    for v in '' $(apt-cache showsrc "$pkg" | awk '/^Version:/ {print "=" $2}' | sort -rV); do
      (cd "$SRC" && apt-get source -qq "$pkg$v" >/dev/null 2>&1) && break
    done
    dir=$(find "$SRC" -maxdepth 1 -mindepth 1 -type d -name "$2" | head -n1)
  fi
  [ -n "$dir" ] || { echo "build-deps: could not unpack $pkg" >&2; exit 1; }
  echo "$dir"
}

mkdir -p "$SRC" "$WORK" "$PREFIX/include/minizip" "$PREFIX/lib"

cmake_dep() {  # name source-dir extra-args...
  local name=$1 src=$2; shift 2
  cmake -S "$src" -B "$WORK/$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@" >"$WORK/$name.log"
  ninja -C "$WORK/$name" install >>"$WORK/$name.log"
}

jpeg_src=$(fetch_source libjpeg-turbo 'libjpeg-turbo-*')
# libjpeg-turbo puts a relative libdir under the filesystem root when cross-building.
cmake_dep jpeg "$jpeg_src" -DCMAKE_INSTALL_LIBDIR="$PREFIX/lib" \
  -DCMAKE_INSTALL_INCLUDEDIR="$PREFIX/include" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
  -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
rm -rf "$PREFIX/bin" "$PREFIX/share"

# Bookworm ships minizip as its own source package (zlib's contrib code).
mz=$(fetch_source minizip 'minizip-*')
mkdir -p "$WORK/minizip"
for f in ioapi unzip zip; do
  "$TRIPLE-gcc-posix" -O2 -w -c "$mz/$f.c" -o "$WORK/minizip/$f.o"
done
rm -f "$PREFIX/lib/libminizip.a"
"$TRIPLE-ar" rcs "$PREFIX/lib/libminizip.a" "$WORK"/minizip/*.o
cp "$mz/ioapi.h" "$mz/unzip.h" "$mz/zip.h" "$PREFIX/include/minizip/"

cmake_dep googletest /usr/src/googletest -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON

touch "$STAMP"
echo "build-deps: $ARCH done in $((SECONDS - started)) s"
