#!/usr/bin/env bash
# Builds Velvasto and plays the bundled demo song. With a display (X11 or Wayland) the desktop
# program opens its window on the song, plays it through the default output (the built-in
# synthesizer) and closes when it ends. Without one, velvasto-cli plays the song in the terminal;
# on a machine without audio output — play then says so and exits with status 1 — the song is
# rendered to a WAV file instead, and the script says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake --preset default >/dev/null
song=resources/demo/demo.mid

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build --preset default -j "$(nproc)" --target velvasto
  echo "== velvasto $song"
  exec build/default/src/gui/velvasto "$song"
fi

cmake --build --preset default -j "$(nproc)" --target velvasto-cli
cli=build/default/cli/velvasto-cli
wav=build/default/demo.wav
# The demo lasts 16 seconds; a minute covers its start and its tail.
play_limit=60s

echo "== no display: velvasto-cli info $song"
"$cli" info "$song"

echo "== velvasto-cli play $song"
status=0
# In the foreground, so that the player has the terminal for its keys.
timeout --foreground "$play_limit" "$cli" play "$song" || status=$?
case $status in
  0) exit 0 ;;
  1) echo "== no sound here: velvasto-cli render $song -o $wav" ;;
  124) echo "run.sh: play did not finish within $play_limit" >&2; exit 1 ;;
  *) exit "$status" ;;
esac

"$cli" render "$song" -o "$wav"
echo "The demo song is in $wav"
