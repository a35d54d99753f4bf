#!/usr/bin/env bash
# Runs one libFuzzer target: scripts/fuzz.sh <name> [seconds]. Names are listed in
# cmake/Fuzzers.cmake. New inputs go to build/fuzz/corpus/<name>; the seed corpus is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh <name> [seconds]}
seconds=${2:-600}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_${name}"
work=build/fuzz/corpus/${name}
mkdir -p "$work"
exec "build/fuzz/fuzz/fuzz_${name}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  "$work" "tests/corpus/${name}"
