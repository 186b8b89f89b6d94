#!/usr/bin/env bash
# Builds, for 64-bit Windows with MinGW-w64, the libraries the core links besides the
# compiler's own: libpng, libjpeg-turbo, libzint (pictures and barcodes of the model),
# libcsv (spreadsheet rows of the capture core). zlib comes built from Debian
# (libz-mingw-w64-dev). Their sources are Debian's own source packages of this release,
# fetched with apt-get through a private source list, so the machine's apt setup is not
# touched. Each library is built once, statically, into PREFIX; a stamp file per library
# makes later runs free.
# Usage: windows-deps.sh BUILD_DIR   (the libraries end in BUILD_DIR/deps)
set -euo pipefail

build_dir=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
toolchain="$here/mingw-w64.cmake"
prefix="$build_dir/deps"
work="$build_dir/deps-build"
apt_dir="$work/apt"
jobs=$(nproc)
mkdir -p "$prefix" "$work"

# The Debian release the machine runs; its source packages match the headers the Linux
# build uses.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# Fetches the source packages not yet in $work/src (a build made before a library was
# added fetches only the new ones).
fetch_sources() {
  local packages=(libpng1.6 libjpeg-turbo zint libcsv libzip nettle) missing=() p
  for p in "${packages[@]}"; do
    find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$p-*" 2>/dev/null | grep -q . || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$work/src"
  echo "deb-src http://deb.debian.org/debian $codename main" > "$apt_dir/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
              -o "APT::Sandbox::User=$(id -un)")
  apt-get -qq "${opts[@]}" update
  (cd "$work/src" && apt-get -qq "${opts[@]}" source "${missing[@]}" >/dev/null)
}

source_dir() {
  local dir
  dir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1)
  [ -n "$dir" ] || { echo "windows-deps: no source of $1 in $work/src" >&2; exit 1; }
  echo "$dir"
}

# Configures a CMake project of a library with the MinGW toolchain and builds only its
# static library target (not its programs and tests); the caller copies the results.
cmake_lib() {
  local name=$1 src=$2 target=$3
  shift 3
  cmake -S "$src" -B "$work/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_C_FLAGS="-w" "$@" >/dev/null
  cmake --build "$work/$name" -j"$jobs" --target "$target" >/dev/null
  mkdir -p "$prefix/include" "$prefix/lib"
}

build_png() {
  src=$(source_dir libpng1.6)
  cmake_lib png "$src" png_static -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF -Dld-version-script=OFF
  cp "$work/png/libpng16.a" "$prefix/lib/libpng.a"
  cp "$src/png.h" "$src/pngconf.h" "$work/png/pnglibconf.h" "$prefix/include/"
}

build_jpeg() {
  src=$(source_dir libjpeg-turbo)
  cmake_lib jpeg "$src" jpeg-static -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF
  cp "$work/jpeg/libjpeg.a" "$prefix/lib/libjpeg.a"
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$work/jpeg/jconfig.h" "$prefix/include/"
}

# Barcodes are drawn as vectors: no PNG output, no Qt.
build_zint() {
  src=$(source_dir zint)
  cmake_lib zint "$src" zint-static -DZINT_STATIC=ON -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF
  cp "$work/zint/backend/libzint-static.a" "$prefix/lib/libzint.a"
  cp "$src/backend/zint.h" "$prefix/include/"
}

# libcsv is one C file.
build_csv() {
  csv_src=$(source_dir libcsv)
  mkdir -p "$work/csv" "$prefix/include" "$prefix/lib"
  x86_64-w64-mingw32-gcc-posix -O2 -w -c "$csv_src/libcsv.c" -o "$work/csv/libcsv.o"
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libcsv.a" "$work/csv/libcsv.o"
  cp "$csv_src/csv.h" "$prefix/include/"
}

# libzip: only its library, over zlib, with every optional backend off (no bzip2, lzma,
# zstd or encryption: the installer's archive is deflated only).
build_zip() {
  src=$(source_dir libzip)
  cmake_lib zip "$src" zip -DBUILD_SHARED_LIBS=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
    -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF \
    -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF -DLIBZIP_DO_INSTALL=OFF
  cp "$work/zip/lib/libzip.a" "$prefix/lib/libzip.a"
  cp "$src/lib/zip.h" "$work/zip/zipconf.h" "$prefix/include/"
}

# nettle: only libnettle (the hashes), no public-key part, so no gmp.
build_nettle() {
  src=$(source_dir nettle)
  mkdir -p "$work/nettle" "$prefix/include/nettle" "$prefix/lib"
  (cd "$work/nettle" && "$src/configure" --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
     CFLAGS="-O2 -w" --enable-static --disable-shared --disable-documentation --disable-public-key \
     --disable-openssl --disable-assembler --disable-fat >/dev/null && make -j"$jobs" libnettle.a >/dev/null)
  cp "$work/nettle/libnettle.a" "$prefix/lib/libnettle.a"
  cp "$src"/*.h "$work/nettle"/*.h "$prefix/include/nettle/" 2>/dev/null || true
}

fetch_sources

# The libraries do not depend on one another, so they are built side by side: their
# configure steps are one process each and would leave the other cores idle. Each one's
# output goes to a log of its own, shown when it fails.
names=() pids=()
for name in png jpeg zint csv zip nettle; do
  [ -f "$work/$name.stamp" ] && continue
  echo "windows-deps: building $name"
  ( "build_$name"; touch "$work/$name.stamp" ) > "$work/$name.log" 2>&1 &
  names+=("$name") pids+=($!)
done
failed=0
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then
    echo "windows-deps: building ${names[$i]} failed:" >&2
    tail -n 40 "$work/${names[$i]}.log" >&2
    failed=1
  fi
done
exit $failed
