#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine: a silent install (/S) into a private
# prefix lays down the program, its Start menu entry and an uninstaller; the installed program
# starts on a private Xvfb and shows its window; a silent uninstall takes the program away.
# Usage: installer.sh <setup.exe>
set -euo pipefail

setup="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver64)"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$here/wineprefix.sh" "$work/prefix"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all HOME="$work/prefix.home"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

start=$(date +%s%N)
wine "$setup" /S
"$wineserver" -w
echo "Installed silently in $((($(date +%s%N) - start) / 1000000)) ms"

installed="$WINEPREFIX/drive_c/Program Files/Vokari"
for file in vokari.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
  imageformats/qico.dll Uninstall.exe; do
  [ -f "$installed/$file" ] || fail "the installer did not lay down $file"
done
shortcut="$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/*' -iname 'Vokari.lnk' | head -n1)"
if [ -z "$shortcut" ]; then
  fail "no Start menu entry named Vokari"
elif ! grep -aq 'vokari.exe' "$shortcut"; then
  fail "the Start menu entry does not start vokari.exe"
fi
[ "$failures" -eq 0 ] || exit 1

source "$here/../support/privatex.sh"
start_private_x "$work"
wine "C:\\Program Files\\Vokari\\vokari.exe" >"$work/program.log" 2>&1 &
program_pid=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name '^Vokari$' >/dev/null 2>&1; then
  cat "$work/program.log" >&2
  fail "the installed program showed no window titled Vokari"
  exit 1
fi
echo "The installed program shows its window"
kill "$program_pid" 2>/dev/null || true
program_pid=""
"$wineserver" -k 2>/dev/null || true

wine "$installed/Uninstall.exe" /S
"$wineserver" -w
[ ! -e "$installed/vokari.exe" ] || fail "the silent uninstall left vokari.exe behind"
[ ! -e "$shortcut" ] || fail "the silent uninstall left the Start menu entry behind"
[ "$failures" -eq 0 ]
