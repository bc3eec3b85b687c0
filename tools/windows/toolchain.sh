#!/usr/bin/env bash
# Builds what the Windows program is made with: Qt's base module and libjpeg-turbo, from the
# sources of the very versions Debian 12 ships (Qt the same as the host Qt whose moc, rcc and uic
# the cross build runs), cross-built with Debian's mingw-w64 into a prefix in a cache outside the
# work tree. The prefix is named after the versions and the options, so changing either builds a
# new one and nothing else does; a finished prefix is reused as it is.
#
#   tools/windows/toolchain.sh                 build the prefix if it is missing; print its path
#   tools/windows/toolchain.sh --print-prefix  print where the prefix is (or would be); build nothing
#
# VOKARI_CACHE overrides the cache folder (default ${XDG_CACHE_HOME:-$HOME/.cache}/vokari).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
source "$root/scripts/common.sh"

triple=x86_64-w64-mingw32
cross_toolchain="$root/cmake/mingw-w64-x86_64.cmake"
cache="${VOKARI_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vokari}"

# Qt's base module, only what the program uses: Core, Gui, Widgets, the Windows platform plugin,
# the Windows styles and the ico reader.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  # Debian's source drops the tablet header (wintab.h), so tablet events cannot be built.
  -DFEATURE_tabletevent=OFF
  # With OpenGL off the Windows plugin still compiles its dynamic-GL path unless told not to.
  -DFEATURE_dynamicgl=OFF
  # Bundled libraries only: nothing of the build machine's may leak into a Windows build.
  -DFEATURE_pkg_config=OFF -DFEATURE_zstd=OFF
)
jpeg_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
  # The SIMD code needs nasm; the four backgrounds decode once each, so plain C is plenty.
  -DWITH_SIMD=OFF
)

source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null
}

# The prefix's name: versions in plain words, the options and the cross compiler as a hash.
prefix_path() {
  local qt_version jpeg_version compiler key
  qt_version="$(source_version qt6-base-dev)"
  jpeg_version="$(source_version libjpeg62-turbo-dev)"
  if [ -z "$qt_version" ] || [ -z "$jpeg_version" ]; then
    echo "tools/windows/toolchain.sh: qt6-base-dev and libjpeg62-turbo-dev must be installed" >&2
    return 1
  fi
  compiler="$("$triple-g++-posix" -dumpfullversion 2>/dev/null || echo none)"
  key="$({
    printf '%s\n' "${qt_options[@]}" -- "${jpeg_options[@]}" -- "$compiler"
    cat "$cross_toolchain"
  } | sha256sum | cut -c1-12)"
  # Epochs (1:) and pluses are fine in a folder name but awkward on a command line.
  echo "$cache/windows/qt-${qt_version//[:+]/_}-jpeg-${jpeg_version//[:+]/_}-$key"
}

if [ "${1:-}" = "--print-prefix" ]; then
  prefix_path
  exit 0
fi

vokari_install_missing build-essential cmake ninja-build perl dpkg-dev \
  qt6-base-dev qt6-base-dev-tools libjpeg62-turbo-dev g++-mingw-w64-x86-64-posix

prefix="$(prefix_path)"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache/windows"
# Two builds at once would trample each other's work folder.
exec 9>"$cache/windows/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$prefix.work"
rm -rf "$prefix" "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
started=$SECONDS

# The sources come through apt from Debian's own archive, with its own source list, so apt checks
# the archive's signature and every file's hash; nothing else is downloaded.
cat >"$work/apt/sources.list" <<'EOF'
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
EOF
apt_options=(
  -o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
  # The private lists belong to whoever runs this; apt's download user could not write them.
  -o APT::Sandbox::User="$(id -un)"
)
qt_version="$(source_version qt6-base-dev)"
jpeg_version="$(source_version libjpeg62-turbo-dev)"
(
  cd "$work"
  apt-get -q "${apt_options[@]}" update
  apt-get -q "${apt_options[@]}" source "qt6-base=$qt_version" "libjpeg-turbo=$jpeg_version"
)
qt_source="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
jpeg_source="$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)"

jobs="$(nproc)"
echo "Building libjpeg-turbo $jpeg_version for Windows"
cmake -G Ninja -S "$jpeg_source" -B "$work/jpeg-build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$cross_toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${jpeg_options[@]}"
cmake --build "$work/jpeg-build" -j "$jobs"
cmake --install "$work/jpeg-build"

echo "Building Qt $qt_version (base module) for Windows: about 1,100 steps"
cmake -G Ninja -S "$qt_source" -B "$work/qt-build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$cross_toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${qt_options[@]}"
cmake --build "$work/qt-build" -j "$jobs"
cmake --install "$work/qt-build" --strip

rm -rf "$work"
printf 'qt6-base %s\nlibjpeg-turbo %s\nbuilt in %d s\n' "$qt_version" "$jpeg_version" \
  $((SECONDS - started)) >"$prefix/.complete"
echo "Windows toolchain ready in $((SECONDS - started)) s: $prefix" >&2
echo "$prefix"
