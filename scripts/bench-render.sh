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

seconds_of() {  # runs the command, prints its wall time in seconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

best() { printf '%s\n' "$@" | sort -n | head -n 1; }

ours=()
theirs=()
for ((run = 1; run <= runs; run++)); do
  ours+=("$(seconds_of "$cli" render "$song" -o "$work/ours.wav" --rate "$rate" --soundfont "$soundfont")")
  theirs+=("$(seconds_of fluidsynth -ni -r "$rate" -F "$work/theirs.wav" "$soundfont" "$song")")
done

audio_seconds() { awk -v bytes="$(stat -c %s "$1")" -v rate="$rate" 'BEGIN { printf "%.1f\n", (bytes - 44) / 4 / rate }'; }

ours_best=$(best "${ours[@]}")
theirs_best=$(best "${theirs[@]}")
echo "song: $minutes min, SoundFont $(basename "$soundfont"), $rate Hz, best of $runs"
echo "velvasto-cli render: ${ours_best} s  (runs: ${ours[*]}; $(audio_seconds "$work/ours.wav") s of audio)"
echo "fluidsynth -F:       ${theirs_best} s  (runs: ${theirs[*]}; $(audio_seconds "$work/theirs.wav") s of audio)"
ratio=$(awk -v a="$ours_best" -v b="$theirs_best" 'BEGIN { printf "%.3f\n", a / b }')
echo "ratio velvasto/fluidsynth: $ratio  (target: at most 1)"
