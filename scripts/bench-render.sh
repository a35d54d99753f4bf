#!/usr/bin/env bash
# Offline render speed: `velvasto-cli render` against the `fluidsynth -F` command on the same
# song and SoundFont, in one run. The song is written by our own tool: MINUTES (default 3) of
# eight parts in four-note chords and drums. Each renderer runs RUNS times (default 3), taking
# turns; the best time of each counts. Prints both times and their ratio.
#   bash scripts/bench-render.sh [MINUTES] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

minutes=${1:-3}
runs=${2:-3}
soundfont=/usr/share/sounds/sf2/FluidR3_GM.sf2
rate=44100

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target velvasto-cli velvasto-make-bench-song >/dev/null
cli=build/default/cli/velvasto-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

song=$work/bench.mid
build/default/tools/velvasto-make-bench-song "$song" "$minutes"
# A settings file of its own, so that the user's settings (reset messages, timer) play no part.
export VELVASTO_INI=$work/velvasto.ini
# Both start with the SoundFont in the page cache.
cat "$soundfont" >/dev/null

# Wall time and CPU time (user + system) of a command, in seconds: "WALL CPU". The machine may
# be shared: CPU time says what the work costs when wall time is stretched by other load.
times_of() {
  local TIMEFORMAT='%R %U %S' measured
  if ! measured=$({ time "$@" >/dev/null 2>&1; } 2>&1); then
    echo "bench-render: failed: $*" >&2
    return 1
  fi
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$measured"
}

# The smallest of the given numbers.
best() { printf '%s\n' "$@" | sort -n | head -n 1; }

ours_wall=() ours_cpu=() theirs_wall=() theirs_cpu=()
for ((run = 1; run <= runs; run++)); do
  measured=$(times_of "$cli" render "$song" -o "$work/ours.wav" --rate "$rate" --soundfont "$soundfont")
  read -r wall cpu <<<"$measured"
  ours_wall+=("$wall") ours_cpu+=("$cpu")
  measured=$(times_of fluidsynth -ni -r "$rate" -F "$work/theirs.wav" "$soundfont" "$song")
  read -r wall cpu <<<"$measured"
  theirs_wall+=("$wall") theirs_cpu+=("$cpu")
done

audio_seconds() { awk -v bytes="$(stat -c %s "$1")" -v rate="$rate" 'BEGIN { printf "%.1f\n", (bytes - 44) / 4 / rate }'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a / b }'; }
ours_best=$(best "${ours_wall[@]}") ours_best_cpu=$(best "${ours_cpu[@]}")
theirs_best=$(best "${theirs_wall[@]}") theirs_best_cpu=$(best "${theirs_cpu[@]}")
echo "song: $minutes min, SoundFont $(basename "$soundfont"), $rate Hz, best of $runs runs"
echo "velvasto-cli render: ${ours_best} s wall, ${ours_best_cpu} s CPU  (wall: ${ours_wall[*]}; $(audio_seconds "$work/ours.wav") s of audio)"
echo "fluidsynth -F:       ${theirs_best} s wall, ${theirs_best_cpu} s CPU  (wall: ${theirs_wall[*]}; $(audio_seconds "$work/theirs.wav") s of audio)"
echo "ratio velvasto/fluidsynth: $(ratio "$ours_best" "$theirs_best") wall, $(ratio "$ours_best_cpu" "$theirs_best_cpu") CPU  (target: at most 1)"
