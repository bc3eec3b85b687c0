#!/usr/bin/env bash
# Runs one Windows console program under Wine in a private prefix and exits with its exit code.
# Usage: wine-run.sh <prefix-dir> <program.exe> [arguments...]
# Works headless, as root, with no network and a fresh HOME: the prefix lives in the build tree
# and is created by the first run.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 <prefix-dir> <program.exe> [arguments...]" >&2
    exit 2
fi
prefix="$1"
program="$2"
shift 2

export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer prompts; no audio driver, so no sound reaches a real device and no
# ALSA noise fills the log (PlaySoundW then works as on a machine without audio).
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv="
# A console program needs no display; without one Wine shows no windows while booting either.
unset DISPLAY WAYLAND_DISPLAY
# Wine links the prefix's user folders into HOME; a private one keeps the real home untouched.
export HOME="$prefix.home"

wineserver=""
for candidate in wineserver /usr/lib/wine/wineserver /usr/lib/wine/wineserver64; do
    if command -v "$candidate" >/dev/null 2>&1; then
        wineserver="$(command -v "$candidate")"
        break
    fi
done
if [ -z "$wineserver" ]; then
    echo "wine-run.sh: wineserver not found (Debian package wine64)" >&2
    exit 2
fi

# One run at a time per prefix: a second run must not see a half-made one.
mkdir -p "$prefix" "$HOME"
exec 9>"$prefix.lock"
flock 9

# A server that quits as soon as the last program ends, so nothing is left running.
"$wineserver" -p0

if [ ! -f "$prefix/system.reg" ]; then
    start=$(date +%s%N)
    log="$prefix.boot.log"
    if ! wine wineboot --init >"$log" 2>&1; then
        echo "wine-run.sh: wineboot failed; its output:" >&2
        cat "$log" >&2
        exit 2
    fi
    "$wineserver" -w
    "$wineserver" -p0
    echo "wine-run.sh: created the prefix in $((($(date +%s%N) - start) / 1000000)) ms" >&2
fi

# The host's clock and UTC offset, for tests that compare the Windows clock against them.
VOKARI_HOST_EPOCH="$(date +%s)"
VOKARI_HOST_UTC_OFFSET="$(date +%z)"
export VOKARI_HOST_EPOCH VOKARI_HOST_UTC_OFFSET

status=0
wine "$program" "$@" || status=$?
"$wineserver" -w
exit "$status"
