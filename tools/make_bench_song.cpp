// Writes a dense General MIDI song of a given length for render benchmarks
// (scripts/bench-render.sh): 120 bpm, eight melodic parts playing four-note chords in eighth
// notes with changing expression, and a drum part.
//   velvasto-make-bench-song OUT.mid [MINUTES]     (default 3 minutes)

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "support/smf_builder.h"

namespace {

using velvasto::test::SmfBuilder;
using velvasto::test::SmfTrack;

constexpr std::uint16_t kDivision = 480;
constexpr int kEighthsPerMinute = 240;  // 120 beats per minute
constexpr int kMaxMinutes = 60;

void Melodic(SmfTrack& track, std::uint8_t channel, int eighths) {
  track.Program(0, channel, static_cast<std::uint8_t>(channel * 8)).Control(0, channel, 7, 90);
  for (int step = 0; step < eighths; ++step) {
    const auto root = static_cast<std::uint8_t>(48 + channel * 3 + step % 12);
    for (std::uint8_t voice = 0; voice < 4; ++voice) track.NoteOn(0, channel, root + 4 * voice, 80);
    track.Control(0, channel, 11, static_cast<std::uint8_t>(64 + step % 64));
    track.NoteOff(kDivision / 2, channel, root);
    for (std::uint8_t voice = 1; voice < 4; ++voice) track.NoteOff(0, channel, root + 4 * voice);
  }
  track.EndOfTrack();
}

void Drums(SmfTrack& track, int eighths) {
  for (int step = 0; step < eighths; ++step) {
    const std::uint8_t note = step % 2 == 0 ? 36 : 42;
    track.NoteOn(0, 9, note, 100).NoteOff(kDivision / 2, 9, note);
  }
  track.EndOfTrack();
}

}  // namespace

int main(int argc, char** argv) {
  int minutes = 3;
  if (argc == 3) {
    const char* end = argv[2] + std::strlen(argv[2]);
    const auto [last, error] = std::from_chars(argv[2], end, minutes);
    if (error != std::errc() || last != end || minutes < 1 || minutes > kMaxMinutes) argc = 0;
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: velvasto-make-bench-song OUT.mid [MINUTES 1..60]\n");
    return 2;
  }
  const int eighths = minutes * kEighthsPerMinute;
  SmfBuilder song(1, kDivision);
  song.AddTrack().Text(0, 0x03, "Velvasto render benchmark").Tempo(0, 500000).EndOfTrack();
  for (std::uint8_t channel = 0; channel < 8; ++channel) Melodic(song.AddTrack(), channel, eighths);
  Drums(song.AddTrack(), eighths);
  const std::vector<std::uint8_t> bytes = song.Build();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "velvasto-make-bench-song: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
