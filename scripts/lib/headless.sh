# Sourced by the measuring scripts: a scratch directory, helper processes that end with the
# script, and the virtual display and private sound server the desktop program runs on there.
# The sourcing script sets wait_limit_s (seconds) before it calls wait_for.

work=$(mktemp -d)
helpers=()
cleanup() {
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${helpers[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits until `test` succeeds, for at most wait_limit_s seconds.
wait_for() {
  for _ in $(seq $((wait_limit_s * 20))); do
    if eval "$1"; then return 0; fi
    sleep 0.05
  done
  return 1
}

# Starts a virtual X display (Xvfb) of its own and exports DISPLAY for it; sets `x_pid`.
start_virtual_display() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
  x_pid=$!
  helpers+=("$x_pid")
  wait_for '[ -s "$work/display" ]'
  export DISPLAY=":$(head -1 "$work/display")"
}

# Starts a private PulseAudio server whose null sink takes all sound, and exports PULSE_SERVER
# for it.
start_null_sound() {
  mkdir -p "$work/pulse"
  PULSE_RUNTIME_PATH=$work/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
    --load="module-native-protocol-unix socket=$work/pulse/native" >/dev/null 2>&1 &
  helpers+=($!)
  export PULSE_SERVER=unix:$work/pulse/native
  wait_for '[ -S "$work/pulse/native" ]'
}
