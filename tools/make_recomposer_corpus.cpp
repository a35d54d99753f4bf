// Writes the seed corpora of the RCP and G36 fuzz targets: small songs that between them use
// every command, loops, same-measure references, exclusive templates, both ports, muted and
// switched-off tracks, step shifts and cut-off files. Run it from the build tree:
//   velvasto-make-recomposer-corpus tests/corpus

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/recomposer_builder.h"

namespace {

using velvasto::test::Bytes;
using velvasto::test::G36Builder;
using velvasto::test::RcpBuilder;
using velvasto::test::RecomposerTrack;

template <typename Builder>
void Header(Builder& song) {
  song.header.title = "corpus";
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.header.userExclusives[0] = {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x00, 0x7F, 0x80, 0x84, 0xF7};
  song.header.userExclusives[1] = {0x82, 0x81, 0x83, 0x10, 0x84, 0x83, 0x01, 0x84};
}

// Notes, gates, lengthening and transposition.
template <typename Builder>
Builder Notes() {
  Builder song;
  Header(song);
  song.header.playBias = -2;
  song.AddTrack().Key(3).Note(2, 60, 4, 100).Note(10, 60, 6, 80).Note(1, 64, 1, 1).End();
  song.AddTrack().Key(0x80).StepShift(-2).Note(3, 36, 3, 100).Note(5, 36, 1, 100).Rest(4).End();
  return song;
}

// Every channel and exclusive command, on both ports and a switched-off track.
template <typename Builder>
Builder Commands() {
  Builder song;
  Header(song);
  song.AddTrack()
      .Channel(0x13)
      .Command(0xEA, 1, 0x40)
      .Control(1, 0x07, 0x64)
      .Program(1, 0x05)
      .Command(0xED, 1, 0x3C, 0x20)
      .Command(0xEE, 1, 0x00, 0x40)
      .BankProgram(1, 0x09, 0x00)
      .Command(0xE1, 1, 0x30, 0x02)
      .Command(0xE5, 1)
      .MidiChannel(0, 3)
      .Tempo(1, 32)
      .Tempo(1, 64)
      .Control(0, 0x63, 0x18)
      .Control(0, 0x62, 0x24)
      .Control(1, 0x06, 0x44)
      .Command(0xDF, 0, 0x10, 0x42)
      .Command(0xDD, 0, 0x40, 0x01)
      .Command(0xDE, 1, 0x30, 0x04)
      .Command(0xD2, 0, 0x10, 0x4C)
      .Command(0xD0, 0, 0x02, 0x01)
      .Command(0xD1, 1, 0x40, 0x00)
      .Command(0xD3, 1, 0x41, 0x7F)
      .UserExclusive(0, 1, 0x00, 0x55)
      .UserExclusive(1, 1, 0x01, 0x22)
      .TrackExclusive(1, 0x7F, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x10, 0x82, 0x80, 0x84})
      .End();
  song.AddTrack().Channel(0xFF).Note(1, 60, 1, 100).UserExclusive(0, 1, 0, 0).End();
  song.AddTrack().Mode(1).Note(1, 60, 1, 100);
  return song;
}

// Loops, nested and with count 0, and same-measure references with chains.
template <typename Builder>
Builder Flow(std::uint16_t firstMeasure, std::uint16_t chained) {
  Builder song;
  Header(song);
  song.AddTrack()
      .Note(1, 1, 1, 100)
      .MeasureEnd()
      .Note(1, 2, 1, 100)
      .MeasureEnd()
      .SameMeasure(firstMeasure)
      .SameMeasure(chained)
      .LoopStart()
      .LoopStart()
      .Note(1, 3, 1, 100)
      .LoopEnd(2)
      .MeasureEnd()
      .SameMeasure(firstMeasure)
      .LoopEnd(0)
      .End();
  return song;
}

void Write(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::filesystem::path rcp = root / "rcp";
  const std::filesystem::path g36 = root / "g36";
  std::filesystem::create_directories(rcp);
  std::filesystem::create_directories(g36);

  Write(rcp / "notes.rcp", Notes<RcpBuilder>().Build());
  Write(rcp / "commands.rcp", Commands<RcpBuilder>().Build());
  // RCP references are record indices: measure 2 starts at record 2, record 4 refers to it.
  Write(rcp / "flow.rcp", Flow<RcpBuilder>(2, 4).Build());
  Bytes cut = Commands<RcpBuilder>().Build();
  cut.resize(cut.size() - 7);
  Write(rcp / "cut.rcp", cut);

  G36Builder notes = Notes<G36Builder>();
  notes.trailer = {'R', 'C', 'F', 'W', 0, 0, 0, 0};
  Write(g36 / "notes.g36", notes.Build());
  Write(g36 / "commands.g36", Commands<G36Builder>().Build());
  // G36 references are measure numbers.
  Write(g36 / "flow.g36", Flow<G36Builder>(1, 2).Build());
  cut = Commands<G36Builder>().Build();
  cut.resize(cut.size() - 7);
  Write(g36 / "cut.g36", cut);
  return 0;
}
