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

# -- JACK: the external-output tests play to a JACK server. One of this run's own, with the dummy
# driver, named for them through JACK_DEFAULT_SERVER and stopped when the script ends, with the
# semaphores and shared memory named after it.
# JACK's registry of running servers has room for eight, and takes back a server's place only
# when a server of the same name starts again: every server that was killed outright (a test run
# broken off) keeps its place for good, and once eight are kept no server can start. With no JACK
# server running on the machine, no place in it is in use, and the registry starts afresh.
if ! pgrep -x 'jackd|jackdbus' >/dev/null; then
  rm -f /dev/shm/jack-shm-registry 2>/dev/null || true
fi
export JACK_DEFAULT_SERVER="velvasto-test-$$"
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
jack_server=$!
trap 'kill "$jack_server" 2>/dev/null; wait "$jack_server" 2>/dev/null; rm -f /dev/shm/jack*_"$JACK_DEFAULT_SERVER"_*' EXIT
# -- end of JACK

ctest --preset default -j "$jobs"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target velvasto_engine_tests velvasto_app_tests
echo "== engine tests under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build/tsan/tests/engine/velvasto_engine_tests --gtest_brief=1
echo "== the player controller on live threads under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build/tsan/tests/app/velvasto_app_tests --gtest_brief=1 \
  --gtest_filter='LivePlayTest.*'
