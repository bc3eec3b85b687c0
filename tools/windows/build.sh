#!/usr/bin/env bash
# Makes Vokari for Windows on Debian, from Debian alone: installs what is missing, builds the
# Windows Qt into the cache when it is not there yet (tools/windows/toolchain.sh, about 30
# minutes once), then cross-builds vokari.exe and packs the zip a Windows user unpacks and runs
# and the installer:
#   <build>/src/app/vokari.exe
#   <build>/packages/vokari-<version>-windows-x64.zip
#   <build>/packages/vokari-<version>-windows-x64-setup.exe
# Usage: tools/windows/build.sh [<build-dir>]   (default build/windows-mingw, the preset's)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/common.sh"
build="${1:-$root/build/windows-mingw}"

vokari_install_missing build-essential cmake ninja-build perl dpkg-dev \
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libjpeg62-turbo-dev g++-mingw-w64-x86-64-posix nsis
if [ -n "${QT_DIR:-}" ]; then
  prefix="$QT_DIR"
else
  prefix="$("$root/tools/windows/toolchain.sh" | tail -n1)"
fi

# A build folder made against another Windows Qt keeps that Qt's paths in its cache.
if [ -f "$build/CMakeCache.txt" ] && [ "$(cat "$build/.windows-prefix" 2>/dev/null)" != "$prefix" ]; then
  rm -rf "$build"
fi
cd "$root"
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset windows-mingw -B "$build"
  echo "$prefix" >"$build/.windows-prefix"
fi
cmake --build "$build"
cmake --build "$build" --target windows-zip windows-installer
ls -l "$build"/packages/vokari-*-windows-x64*
