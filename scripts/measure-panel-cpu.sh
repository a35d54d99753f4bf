#!/usr/bin/env bash
# What the panel monitor costs in CPU time. The densest song our tool makes (all 32 channels
# busy: on each port 15 parts in four-note chords and a drum part, in eighth notes, expression
# changing on every one) plays at the same time in the desktop program in two-panel mode and in
# `velvasto-cli play`, both through the built-in synthesizer; the CPU time (user + system) of
# each process is taken over the same interval. Then the desktop program's window is minimised
# and the same is measured again. Target: the desktop program at most 1.5 times the terminal
# player while the window shows; minimised, the panel adds nothing measurable.
#
# Runs on a virtual X display of its own (Xvfb: a real X server, since Qt's offscreen platform
# paints differently) with a small window manager (twm) to minimise the window, and with a
# private PulseAudio server whose null sink takes the sound of both players.
#
# Usage: bash scripts/measure-panel-cpu.sh [SECONDS]   (default 30, per phase)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
settle_seconds=5
wait_limit_s=30
bash scripts/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto velvasto-cli velvasto-make-bench-song >/dev/null
build=$PWD/build/default
gui=$build/src/gui/velvasto
cli=$build/cli/velvasto-cli

source scripts/lib/headless.sh
start_virtual_display
# The virtual display has only the server's built-in font.
printf 'TitleFont "fixed"\nResizeFont "fixed"\nMenuFont "fixed"\nIconFont "fixed"\nIconManagerFont "fixed"\nRandomPlacement\n' \
  >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
helpers+=($!)
start_null_sound
# The desktop program's single-instance socket, apart from any instance the user runs.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Long enough for both phases; each player ends by itself when the song does.
minutes=$(((2 * (seconds + settle_seconds) + 30) / 60 + 1))
song=$work/dense.mid
"$build/tools/velvasto-make-bench-song" "$song" "$minutes" 2
printf '[Velvasto]\nMonitor Mode=1\n' >"$work/gui.ini"

VELVASTO_INI=$work/gui.ini "$gui" "$song" >"$work/gui.out" 2>&1 &
gui_pid=$!
helpers+=("$gui_pid")
VELVASTO_INI=$work/cli.ini "$cli" play "$song" </dev/null >"$work/cli.out" 2>&1 &
cli_pid=$!
helpers+=("$cli_pid")
window=$(timeout "$wait_limit_s" xdotool search --sync --name "^dense.mid - Velvasto for Windows Version4\$" | head -1)
sleep "$settle_seconds"

# CPU time of a process in clock ticks, user + system (the fields after the command's name).
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Both players, and the X server that shows the desktop program's window, over the same
# `seconds`: "<gui ticks> <cli ticks> <X server ticks>".
measure() {
  local gui0 cli0 x0 gui1 cli1 x1
  gui0=$(ticks "$gui_pid")
  cli0=$(ticks "$cli_pid")
  x0=$(ticks "$x_pid")
  sleep "$seconds"
  gui1=$(ticks "$gui_pid")
  cli1=$(ticks "$cli_pid")
  x1=$(ticks "$x_pid")
  echo "$((gui1 - gui0)) $((cli1 - cli0)) $((x1 - x0))"
}

report() {
  awk -v what="$1" -v hz="$(getconf CLK_TCK)" -v seconds="$seconds" '{
    printf "%-18s velvasto %6.2f s CPU (%5.1f %% of a core)  velvasto-cli %6.2f s (%5.1f %%)  ratio %.2f  (X server %.2f s)\n",
      what, $1 / hz, 100 * $1 / hz / seconds, $2 / hz, 100 * $2 / hz / seconds, ($2 > 0 ? $1 / $2 : 0), $3 / hz
  }' <<<"$2"
}

echo "== $seconds s of each phase, song of 32 busy channels ($minutes min), display $DISPLAY"
# The window manager has taken the window once it has set the window's state.
wait_for 'xprop -id "$window" WM_STATE | grep -q "window state"'
shown=$(measure)
xdotool windowminimize --sync "$window"
# --sync returns once the window is unmapped; the window manager marks it iconic a moment later.
wait_for 'xprop -id "$window" WM_STATE | grep -q "window state: Iconic"' ||
  { echo "measure-panel-cpu.sh: the window is not minimised" >&2; exit 1; }
sleep 1
minimised=$(measure)
for pid in "$gui_pid" "$cli_pid"; do
  kill -0 "$pid" 2>/dev/null || { echo "measure-panel-cpu.sh: a player ended early; see its output:" >&2; cat "$work"/*.out >&2; exit 1; }
done
report "two panels, shown" "$shown"
report "minimised" "$minimised"
