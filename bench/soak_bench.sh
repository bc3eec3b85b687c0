#!/usr/bin/env bash
# Resident-memory soak: Vokari on a private Xvfb, set up through the real pointer to a one-second
# loop with a ten-play built-in alarm, sampled from /proc every 10 s. Run it as
#   bench/soak_bench.sh [SECONDS (default 600)] [PROGRAM (default build/dev/src/app/vokari)]
# e.g. bench/soak_bench.sh 600 build/helper-vg/src/app/vokari
# Sound goes nowhere (PULSE_SERVER names no server) unless SOAK_SOUND=pulse, which plays into a
# private PulseAudio null sink instead. It prints every sample and the spread after the first
# minute, and exits 1 if that spread exceeds 1 MB (1024 kB).
set -euo pipefail
seconds="${1:-600}"
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${2:-$root/build/dev/src/app/vokari}"
interval=10
warmup=60
budget_kb=1024

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid="" pulse_pid="" app_pid=""
cleanup() {
  for pid in "$app_pid" "$pulse_pid" "$xvfb_pid"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# -displayfd lets Xvfb pick a free display number, so the developer's display is never touched.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

# A private home, so no settings are read from or left in the real one.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
export XDG_CACHE_HOME="$work/home/cache" XDG_RUNTIME_DIR="$work/home"
mkdir -p "$HOME" && chmod 700 "$HOME"
export QT_QPA_PLATFORM=xcb PULSE_COOKIE="$work/pulse-cookie"
if [ "${SOAK_SOUND:-}" = pulse ]; then
  pulseaudio --daemonize=no --system=false --exit-idle-time=-1 -n -F /dev/null \
    --use-pid-file=false --disable-shm=true --realtime=false --high-priority=false \
    --log-target=stderr --load="module-null-sink sink_name=soak_null" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse" \
    2>"$work/pulse.log" &
  pulse_pid=$!
  for _ in $(seq 100); do [ -S "$work/pulse" ] && break; sleep 0.1; done
  [ -S "$work/pulse" ] || { echo "pulseaudio did not start" >&2; exit 1; }
  export PULSE_SERVER="unix:$work/pulse"
else
  export PULSE_SERVER="unix:$work/no-such-server"
fi

"$program" &
app_pid=$!

window() { # the first visible window titled exactly $1, waiting up to 30 s for it
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}
click() { # window, x, y: a left click at a point of the window's client area
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
}
replace() { # window, x, y, text: the field's whole text replaced by typing
  click "$1" "$2" "$3"
  xdotool key ctrl+a type --delay 20 -- "$4"
}

main=$(window Vokari)
[ -n "$main" ] || { echo "Vokari's window did not appear" >&2; exit 1; }
sleep 1

# The actions: ten plays of the built-in alarm, and the loop.
click "$main" $((100 + 18)) $((272 + 18))
actions=$(window 操作)
[ -n "$actions" ] || { echo "the actions dialog did not appear" >&2; exit 1; }
replace "$actions" $((280 + 12)) $((48 + 10)) 10
click "$actions" $((20 + 30)) $((391 + 8))
click "$actions" $((155 + 18)) $((410 + 18))

# One second: hours, minutes and seconds in turn.
click "$main" $((139 + 18)) $((272 + 18))
settime=$(window 设置时间)
[ -n "$settime" ] || { echo "the set-time dialog did not appear" >&2; exit 1; }
replace "$settime" $((30 + 31 + 20)) $((65 + 40 + 10)) 0
xdotool key Tab ctrl+a type -- 0
xdotool key Tab ctrl+a type -- 1
click "$settime" $((125 + 18)) $((168 + 18))

click "$main" $((177 + 18)) $((272 + 18))

# The sound module loads at the first play: proof that the countdown ran and the alarm began.
for _ in $(seq 50); do grep -q vokari_sound "/proc/$app_pid/maps" 2>/dev/null && break; sleep 0.1; done
grep -q vokari_sound "/proc/$app_pid/maps" ||
  { echo "no alarm began: the countdown did not run out" >&2; exit 1; }
echo "Soaking $program (pid $app_pid) for $seconds s, sound ${SOAK_SOUND:-nowhere}"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"; }
min="" max=""
for ((t = 0; t <= seconds; t += interval)); do
  [ $t -gt 0 ] && sleep $interval
  kill -0 "$app_pid" 2>/dev/null || { echo "Vokari ended at t=$t s" >&2; exit 1; }
  kb=$(rss)
  threads=$(awk '/^Threads:/ { print $2 }' "/proc/$app_pid/status")
  echo "t=${t}s VmRSS=${kb} kB threads=${threads}"
  if [ $t -ge $warmup ]; then
    { [ -z "$min" ] || [ "$kb" -lt "$min" ]; } && min=$kb
    { [ -z "$max" ] || [ "$kb" -gt "$max" ]; } && max=$kb
  fi
done
if [ "${SOAK_SOUND:-}" = pulse ]; then
  # Only a loop keeps the alarm going this long; a stream playing now shows the loop still runs.
  sounding=no
  for _ in $(seq 30); do
    [ -n "$(pactl list short sink-inputs 2>/dev/null)" ] && { sounding=yes; break; }
    sleep 0.1
  done
  echo "alarm still sounding at the end: $sounding"
fi
[ -n "$min" ] || { echo "too short: no samples after the first ${warmup} s"; exit 0; }
spread=$((max - min))
echo "after ${warmup} s: min ${min} kB, max ${max} kB, max-min ${spread} kB (budget ${budget_kb} kB)"
[ $spread -le $budget_kb ]
