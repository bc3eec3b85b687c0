#!/usr/bin/env bash
# Starts the packaged program, unpacked into a temporary folder (never installed), on a private
# Xvfb: its main window must appear, of the class its desktop entry names, and the program must
# still be running two seconds later.
# Usage: smoke.sh <deb-dir>
set -euo pipefail

debs=("$1"/vokari_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "expected exactly one vokari_*.deb in $1" >&2
  exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

dpkg-deb -x "${debs[0]}" "$work/root"
program="$work/root/usr/bin/vokari"

source "$(dirname "${BASH_SOURCE[0]}")/../support/privatex.sh"
start_private_x "$work"

# A private home, and buses and a sound server that do not exist, so nothing the program does
# reaches this machine's session.
mkdir -p "$work/home"/{config,data,cache,state,runtime}
chmod 700 "$work/home/runtime"
unset WAYLAND_DISPLAY SESSION_MANAGER
export QT_QPA_PLATFORM=xcb
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/config" XDG_DATA_HOME="$HOME/data" XDG_CACHE_HOME="$HOME/cache"
export XDG_STATE_HOME="$HOME/state" XDG_RUNTIME_DIR="$HOME/runtime"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-system-bus"
export PULSE_SERVER="unix:$work/no-pulse"

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Vokari$' >/dev/null 2>&1; then
  cat "$work/program.log" >&2
  echo "FAIL: no visible window titled Vokari appeared" >&2
  exit 1
fi
echo "The window appeared"
# Docks and task managers put a window under the entry whose StartupWMClass is its class.
window="$(xdotool search --onlyvisible --name '^Vokari$' | head -n1)"
class="$(xprop -id "$window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')"
entry_class="$(sed -n 's/^StartupWMClass=//p' "$work"/root/usr/share/applications/*.desktop)"
if [ -z "$class" ] || [ "$class" != "$entry_class" ]; then
  echo "FAIL: the window's class is '$class', the desktop entry's StartupWMClass '$entry_class'" >&2
  exit 1
fi
sleep 2
# An ended child may linger unreaped as a zombie, which kill -0 still finds.
state="$(awk '{ print $3 }' "/proc/$program_pid/stat" 2>/dev/null || true)"
if [ -z "$state" ] || [ "$state" = Z ] || [ "$state" = X ]; then
  status=0
  wait "$program_pid" || status=$?
  program_pid=""
  cat "$work/program.log" >&2
  echo "FAIL: the program ended (status $status) within two seconds of showing its window" >&2
  exit 1
fi
echo "Still running after two seconds"
kill -TERM "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
cat "$work/program.log"
