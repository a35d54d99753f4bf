// Writes a dense General MIDI song of a given length for benchmarks: 120 bpm, melodic parts
// playing four-note chords in eighth notes with changing expression, and a drum part. On one
// port (scripts/bench-render.sh) eight melodic parts and the drums; on two ports every one of
// the 32 channels is busy (15 melodic parts and the drums on each port; scripts/measure-panel-cpu.sh).
//   velvasto-make-bench-song OUT.mid [MINUTES [PORTS]]     (default 3 minutes, 1 port)

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
constexpr std::uint8_t kDrumChannel = 9;

// A track of PORT A (0) or PORT B (1).
SmfTrack& OnPort(SmfTrack& track, int port, int ports) {
  return ports == 1 ? track : track.Port(0, static_cast<std::uint8_t>(port));
}

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
    track.NoteOn(0, kDrumChannel, note, 100).NoteOff(kDivision / 2, kDrumChannel, note);
  }
  track.EndOfTrack();
}

// The number in `text` when it is a whole number from `low` to `high`.
bool ParseNumber(const char* text, int low, int high, int& number) {
  const char* end = text + std::strlen(text);
  const auto [last, error] = std::from_chars(text, end, number);
  return error == std::errc() && last == end && number >= low && number <= high;
}

}  // namespace

int main(int argc, char** argv) {
  int minutes = 3;
  int ports = 1;
  if (argc < 2 || argc > 4 || (argc >= 3 && !ParseNumber(argv[2], 1, kMaxMinutes, minutes)) ||
      (argc == 4 && !ParseNumber(argv[3], 1, 2, ports))) {
    std::fprintf(stderr, "usage: velvasto-make-bench-song OUT.mid [MINUTES 1..60 [PORTS 1..2]]\n");
    return 2;
  }
  const int eighths = minutes * kEighthsPerMinute;
  SmfBuilder song(1, kDivision);
  song.AddTrack().Text(0, 0x03, "Velvasto render benchmark").Tempo(0, 500000).EndOfTrack();
  // One port: eight melodic parts; two ports: every channel but the drums'.
  const std::uint8_t melodicChannels = ports == 1 ? 8 : 16;
  for (int port = 0; port < ports; ++port) {
    for (std::uint8_t channel = 0; channel < melodicChannels; ++channel) {
      if (ports == 2 && channel == kDrumChannel) continue;
      Melodic(OnPort(song.AddTrack(), port, ports), channel, eighths);
    }
    Drums(OnPort(song.AddTrack(), port, ports), eighths);
  }
  const std::vector<std::uint8_t> bytes = song.Build();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "velvasto-make-bench-song: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
