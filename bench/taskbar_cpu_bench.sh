#!/usr/bin/env bash
# What a running countdown costs with the taskbar kept up to date: each program given runs on
# its own private Xvfb with a private session bus (so the launcher entry's signals go out for
# real), counts down from ten minutes, and after SECONDS reports its CPU time per hour and how
# many launcher-entry updates it sent. Give two builds to compare them side by side under the
# same load:
#   bench/taskbar_cpu_bench.sh 300 build/dev/src/app/vokari /tmp/before/build/src/app/vokari
set -euo pipefail
seconds="${1:-300}"
shift
[ $# -gt 0 ] || set -- "$(cd "$(dirname "$0")/.." && pwd)/build/dev/src/app/vokari"
for tool in Xvfb xdotool dbus-daemon dbus-monitor; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done

run_one() {
  local program="$1" work pids=()
  work=$(mktemp -d)
  trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' RETURN
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  local display=":$(head -n1 "$work/display")" bus
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid")
  pids+=("$(cat "$work/bus.pid")")
  DBUS_SESSION_BUS_ADDRESS="$bus" dbus-monitor --session \
    "type='signal',interface='com.canonical.Unity.LauncherEntry'" >"$work/updates" 2>/dev/null &
  pids+=($!)
  DISPLAY="$display" DBUS_SESSION_BUS_ADDRESS="$bus" XDG_RUNTIME_DIR="$work" \
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/none" PULSE_SERVER="unix:$work/none" \
    "$program" >/dev/null 2>&1 &
  local app=$!
  pids+=("$app")
  local window
  window=$(DISPLAY="$display" timeout 20 xdotool search --sync --onlyvisible --name '^Vokari$' | head -n1)
  eval "$(DISPLAY="$display" xdotool getwindowgeometry --shell "$window")"
  # Ten presses of the add button, then start: ten minutes, longer than any run here.
  for _ in $(seq 10); do DISPLAY="$display" xdotool mousemove $((X + 40)) $((Y + 290)) click 1; done
  DISPLAY="$display" xdotool mousemove $((X + 195)) $((Y + 290)) click 1
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$app/stat")
  sleep "$seconds"
  after=$(awk '{ print $14 + $15 }' "/proc/$app/stat")
  awk -v p="$program" -v t=$((after - before)) -v s="$seconds" -v hz="$(getconf CLK_TCK)" \
    -v n="$(grep -c 'member=Update' "$work/updates" || true)" \
    'BEGIN { printf "%s: %.3f s CPU in %d s (%.2f s per hour), %d launcher-entry updates\n",
             p, t / hz, s, t / hz * 3600 / s, n }'
}

for program in "$@"; do
  run_one "$program" &
done
wait
