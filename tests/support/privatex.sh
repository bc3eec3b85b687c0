# Sourced by the shell tests that start a program on a private virtual X server.

# start_private_x <work-dir>: starts Xvfb on a display number it picks itself (-displayfd), so
# the developer's display is never touched; sets xvfb_pid and exports DISPLAY. Exits on failure.
start_private_x() {
  local work="$1"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log" >&2
    echo "Xvfb did not start" >&2
    exit 1
  fi
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
}
