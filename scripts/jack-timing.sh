#!/usr/bin/env bash
# JACK MIDI timing: how far from its record's table time each message of a song reaches a JACK
# MIDI port. Starts a JACK server of its own with the dummy driver (48 kHz, 256-frame periods),
# plays each song live to a monitor's port (`jack_midi_dump -a`), and compares every message the
# monitor received that comes from the song's table with its time there. Prints, per song, the
# messages measured and p1, p50, p99 of (arrival − table time) in milliseconds, and the spread
# p99 − p1. The offset itself (the player's fixed latency plus the monitor's start) is arbitrary.
# Also printed: the xruns the server reported during the song. A server that comes late for its
# cycles can let its frame clock fall behind the monotonic clock the player keeps time on (steps
# of 10–15 ms have been seen on a busy machine), and the messages placed after that measure
# earlier by as much: a spread from a run with xruns may be the server's, not the player's.
# Measure on an idle machine.
#   bash scripts/jack-timing.sh [SONG...]      (default: the demo and a dense one-minute song)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

rate=48000
period=256
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto-cli velvasto-make-bench-song >/dev/null
cli=build/default/cli/velvasto-cli
work=$(mktemp -d)
export JACK_DEFAULT_SERVER=velvasto-timing-$$
export VELVASTO_INI=$work/velvasto.ini
server_pid=""
monitor_pid=""
stop() {
  [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null && wait "$monitor_pid" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -f /dev/shm/jack*_"$JACK_DEFAULT_SERVER"_*
  rm -rf "$work"
}
# Waits up to ten seconds for `jack_lsp` to list the port $1 (any port for "").
wait_for_port() {
  for _ in $(seq 100); do
    jack_lsp 2>/dev/null | grep -q -- "$1" && return 0
    sleep 0.1
  done
  echo "jack-timing: no JACK port ${1:-at all}" >&2
  return 1
}
trap stop EXIT

if [ $# -eq 0 ]; then
  build/default/tools/velvasto-make-bench-song "$work/dense.mid" 1
  set -- resources/demo/demo.mid "$work/dense.mid"
fi

jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r "$rate" -p "$period" >"$work/jackd.log" 2>&1 &
server_pid=$!
wait_for_port ""

for song in "$@"; do
  # What live play sends, with the song time of each message; and the song's table.
  "$cli" play --fast --out "A=record:$work/sent.txt" "$song"
  "$cli" dump "$song" >"$work/table.txt"
  stdbuf -oL jack_midi_dump -a velvasto-timing >"$work/arrived.txt" 2>/dev/null &
  monitor_pid=$!
  wait_for_port velvasto-timing:input
  xruns_before=$(grep -c XRun "$work/jackd.log" || true)
  "$cli" play --out A=velvasto-timing:input "$song" </dev/null
  sleep 0.5
  kill "$monitor_pid"
  wait "$monitor_pid" 2>/dev/null || true
  monitor_pid=""
  xruns=$(($(grep -c XRun "$work/jackd.log" || true) - xruns_before))
  python3 - "$song" "$rate" "$xruns" "$work/sent.txt" "$work/table.txt" "$work/arrived.txt" <<'EOF'
import sys
from collections import Counter

song, rate, xruns = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
sent_path, table_path, arrived_path = sys.argv[4:]

def message(fields):
    return " ".join(fields).lower()

sent = []  # (song time in µs, message) of PORT A, in the order sent
for line in open(sent_path):
    fields = line.split()
    if len(fields) > 3 and fields[1] == "A":
        sent.append((int(fields[0]), message(fields[3:])))
table = Counter()
for line in open(table_path):
    fields = line.split()
    if len(fields) > 3 and fields[1] == "A" and fields[2] in ("MSG", "SYX"):
        table[(int(fields[0]), message(fields[3:]))] += 1
arrived = []  # (frame, message)
for line in open(arrived_path):
    frame, _, rest = line.partition(":")
    data = []
    for word in rest.split():
        if len(word) != 2 or any(c not in "0123456789abcdef" for c in word):
            break
        data.append(word)
    arrived.append((int(frame), " ".join(data)))

mismatches = sum(1 for (_, a), (_, b) in zip(sent, arrived) if a != b)
if len(arrived) < len(sent) or mismatches:
    sys.exit(f"{song}: the monitor received {len(arrived)} messages, {mismatches} of the first "
             f"{min(len(sent), len(arrived))} differing from the {len(sent)} sent")
offsets = []
for (time_us, data), (frame, _) in zip(sent, arrived):
    if table[(time_us, data)] > 0:
        table[(time_us, data)] -= 1
        offsets.append(frame * 1000.0 / rate - time_us / 1000.0)
offsets.sort()
def percentile(q):
    return offsets[min(len(offsets) - 1, round(q * (len(offsets) - 1)))]
p1, p50, p99 = percentile(0.01), percentile(0.50), percentile(0.99)
print(f"{song}: {len(offsets)} messages of the table; arrival - table time: "
      f"p1 {p1:.3f} ms, p50 {p50:.3f} ms, p99 {p99:.3f} ms; spread p99 - p1 {p99 - p1:.3f} ms; "
      f"server xruns {xruns}")
EOF
done
