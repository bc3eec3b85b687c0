#!/usr/bin/env bash
# Makes a fresh private 64-bit Wine prefix in <dir>, with its home at <dir>.home so nothing
# reaches the real one, and returns once Wine's own processes have ended. Programs run in it
# need the same WINEPREFIX, HOME, WINEDEBUG and WINEDLLOVERRIDES as set here.
# Usage: wineprefix.sh <dir>
set -euo pipefail

prefix="$1"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all HOME="$prefix.home"
# No Mono or Gecko installer prompts, and no menu entries written on the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# Booting needs no display; without one Wine shows no "updating" window either.
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$prefix" "$HOME"

start=$(date +%s%N)
if ! wine wineboot --init >"$prefix.boot.log" 2>&1; then
  echo "wineprefix.sh: wineboot failed; its output:" >&2
  cat "$prefix.boot.log" >&2
  exit 1
fi
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver64)"
"$wineserver" -w
echo "wineprefix.sh: made the prefix in $((($(date +%s%N) - start) / 1000000)) ms" >&2
