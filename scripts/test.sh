#!/usr/bin/env bash
# Builds Velvasto and runs every test: the whole suite in the default build (warnings are
# errors), then the engine's tests again under ThreadSanitizer, since the engine is the part
# that several threads drive at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target velvasto_engine_tests
echo "== engine tests under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build/tsan/tests/engine/velvasto_engine_tests --gtest_brief=1
