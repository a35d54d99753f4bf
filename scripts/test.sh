#!/usr/bin/env bash
# Builds Velvasto and runs every test: the whole suite in the default build (warnings are
# errors), then the engine's tests and the player controller on live threads again under
# ThreadSanitizer, since those are the parts that several threads drive at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target velvasto_engine_tests velvasto_app_tests
echo "== engine tests under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build/tsan/tests/engine/velvasto_engine_tests --gtest_brief=1
echo "== the player controller on live threads under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build/tsan/tests/app/velvasto_app_tests --gtest_brief=1 \
  --gtest_filter='LivePlayTest.*'
