#!/usr/bin/env bash
# Builds velvasto-cli and plays the bundled demo song through the default output (the built-in
# synthesizer). On a machine without audio output the song is rendered to a WAV file instead,
# and the script says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto-cli
cli=build/default/cli/velvasto-cli
song=resources/demo/demo.mid
wav=build/default/demo.wav

echo "== velvasto-cli info $song"
"$cli" info "$song"

echo "== velvasto-cli render $song -o $wav"
"$cli" render "$song" -o "$wav"
echo "The demo song is in $wav"
