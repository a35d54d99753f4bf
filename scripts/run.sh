#!/usr/bin/env bash
# Builds velvasto-cli and shows what it makes of the bundled demo song.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto-cli
cli=build/default/cli/velvasto-cli
song=resources/demo/demo.mid

echo "== velvasto-cli info $song"
"$cli" info "$song"
dump=build/default/demo.dump
"$cli" dump "$song" > "$dump"
echo "== velvasto-cli dump $song (first 20 of $(wc -l < "$dump") records; all in $dump)"
head -n 20 "$dump"
