#!/usr/bin/env bash
# Measures the desktop program: from the command `velvasto demo.mid` to its window shown and to
# the first message sent to the synthesizer, for a cold start (file caches dropped first, where
# the system allows it) and for warm starts; then the program's CPU use while the song is loaded
# and paused.
#
# The program marks both moments itself when VELVASTO_STARTUP_TRACE names a file; each start
# here uses fresh settings (the default SoundFont) and ends the program once both are marked.
# Without a display the program runs on a virtual X display (Xvfb); without a sound server there,
# on a private PulseAudio server with a null sink when pulseaudio is installed.
#
# Usage: bash scripts/measure-startup.sh [WARM_RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
idle_seconds=20
wait_limit_s=20

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto >/dev/null
program=$PWD/build/default/src/gui/velvasto
song=$PWD/resources/demo/demo.mid
title="demo.mid - Velvasto for Windows Version4"

if pgrep -u "$(id -u)" -x velvasto >/dev/null; then
  echo "measure-startup.sh: velvasto is running; close it first (a start would hand its file to it)" >&2
  exit 1
fi

source scripts/lib/headless.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "measure-startup.sh: no display and no Xvfb (scripts/install-deps.sh installs it)" >&2; exit 1; }
  start_virtual_display
  echo "== on the virtual display $DISPLAY"
  if command -v pulseaudio >/dev/null; then
    start_null_sound
    echo "== sound into a private PulseAudio null sink"
  fi
fi

trace=$work/trace
settings=$work/velvasto.ini

# Starts the program on the demo song with a fresh trace; sets `pid` and `started` (ns).
start_program() {
  rm -f "$trace" "$settings"
  started=$(date +%s%N)
  VELVASTO_STARTUP_TRACE=$trace VELVASTO_INI=$settings "$program" "$song" >"$work/output" 2>&1 &
  pid=$!
}

# Milliseconds from the start to the traced `event`, or "-" when it was not marked.
since_start() {
  awk -v event="$1" -v started="$started" '$1 == event { printf "%.0f", ($2 - started) / 1e6; found = 1 }
    END { if (!found) printf "-" }' "$trace" 2>/dev/null || printf -- "-"
}

# One start: prints "<ms to window> <ms to first message>".
measure_once() {
  start_program
  wait_for '[ -f "$trace" ] && [ "$(wc -l <"$trace")" -ge 2 ]' || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$(since_start window-shown) $(since_start first-message)"
}

report() {
  printf '%-6s window shown %6s ms   first message %6s ms\n' "$1" $2
}

if [ -w /proc/sys/vm/drop_caches ]; then
  sync
  echo 3 >/proc/sys/vm/drop_caches
  report cold "$(measure_once)"
else
  echo "cold   (the file caches can only be dropped as root: not measured)"
fi
for run in $(seq "$runs"); do
  report "warm$run" "$(measure_once)"
done

if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null; then
  echo "idle CPU: needs xdotool on X11 to press PAUSE (not measured)"
  exit 0
fi
start_program
wait_for '[ -f "$trace" ] && [ "$(wc -l <"$trace")" -ge 2 ]'
window=$(xdotool search --sync --name "^$title\$" | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key s
sleep 1
# CPU ticks of each thread of the program: "<thread id> <name> <ticks>".
thread_ticks() {
  for task in /proc/"$pid"/task/*; do
    echo "${task##*/} $(tr ' ' '_' <"$task/comm") $(awk '{ print $14 + $15 }' "$task/stat")"
  done
}
thread_ticks >"$work/before"
sleep "$idle_seconds"
# The demo lasts 16 seconds: a song that was not paused has ended, and the program with it.
if ! kill -0 "$pid" 2>/dev/null; then
  echo "idle CPU: the program ended: PAUSE did not reach it (not measured)" >&2
  exit 1
fi
thread_ticks >"$work/after"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "idle CPU with the song loaded and paused, over $idle_seconds s, in % of one core:"
awk -v main="$pid" -v hz="$(getconf CLK_TCK)" -v seconds="$idle_seconds" '
  NR == FNR { before[$1] = $3; next }
  { used = $3 - before[$1]; total += used; if ($1 == main) window += used; else by[$2] += used }
  END {
    printf "  all threads %6.2f\n  window      %6.2f\n", 100 * total / hz / seconds, 100 * window / hz / seconds
    for (name in by) if (by[name] > 0) printf "  %-11s %6.2f\n", name, 100 * by[name] / hz / seconds
  }' "$work/before" "$work/after"
