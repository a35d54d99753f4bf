// Writes the bundled demo song: eight bars in C major for piano, bass, strings and drums, with a
// GS reset, program changes and a tempo change halfway, once as a Standard MIDI File (480 ticks
// a quarter note) and once as an RCP file (48 ticks a quarter note, the Recomposer's own) with
// the same music. Run it from the build tree:
//   velvasto-make-demo resources/demo/demo.mid resources/demo/demo.rcp

#include <cstdio>
#include <fstream>
#include <vector>

#include "support/recomposer_builder.h"
#include "support/smf_builder.h"

namespace {

using velvasto::test::RcpBuilder;
using velvasto::test::RecomposerTrack;
using velvasto::test::SmfBuilder;
using velvasto::test::SmfTrack;

constexpr std::uint32_t kBeat = 480;
constexpr std::uint32_t kBar = 4 * kBeat;

// Root notes of the progression C - G - Am - F, twice.
constexpr std::uint8_t kRoots[8] = {60, 55, 57, 53, 60, 55, 57, 53};
// Chord tones above the root: major, major, minor, major.
constexpr std::uint8_t kThirds[8] = {4, 4, 3, 4, 4, 4, 3, 4};

void Conductor(SmfTrack& track) {
  track.Text(0, 0x03, "Velvasto Demo");
  track.TimeSignature(0, 4, 2);
  track.Tempo(0, 500000);                // 120 beats per minute
  track.Tempo(4 * kBar, 454545);         // 132 beats per minute from bar 5
  track.EndOfTrack(4 * kBar);
}

void Piano(SmfTrack& track) {
  // GS reset first, then the program.
  track.SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
  track.Program(0, 0, 0);
  track.Control(0, 0, 7, 100);
  std::uint32_t pending = 0;
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t root = kRoots[bar];
    const std::uint8_t chord[3] = {root, static_cast<std::uint8_t>(root + kThirds[bar]),
                                   static_cast<std::uint8_t>(root + 7)};
    for (int beat = 0; beat < 4; ++beat) {
      // Running status: after the first note-on of the chord only data bytes follow.
      track.NoteOn(pending, 0, chord[0], beat == 0 ? 96 : 72);
      track.Raw(0, {chord[1], static_cast<std::uint8_t>(beat == 0 ? 88 : 64)});
      track.Raw(0, {chord[2], static_cast<std::uint8_t>(beat == 0 ? 88 : 64)});
      track.Raw(kBeat - 60, {chord[0], 0});
      track.Raw(0, {chord[1], 0});
      track.Raw(0, {chord[2], 0});
      pending = 60;
    }
  }
  track.EndOfTrack(pending);
}

void Bass(SmfTrack& track) {
  track.Program(0, 1, 33);  // Fingered Bass
  std::uint32_t pending = 0;
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t root = static_cast<std::uint8_t>(kRoots[bar] - 24);
    const std::uint8_t line[4] = {root, root, static_cast<std::uint8_t>(root + 7), root};
    for (std::uint8_t note : line) {
      track.NoteOn(pending, 1, note, 100);
      track.NoteOff(kBeat - 40, 1, note);
      pending = 40;
    }
  }
  track.EndOfTrack(pending);
}

void Strings(SmfTrack& track) {
  track.Program(0, 2, 48);  // Strings
  track.Control(0, 2, 91, 64);
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t top = static_cast<std::uint8_t>(kRoots[bar] + 12 + kThirds[bar]);
    track.NoteOn(0, 2, top, 64);
    track.Control(kBar / 2, 2, 11, bar % 2 == 0 ? 100 : 80);
    track.NoteOff(kBar / 2, 2, top);
  }
  track.Raw(0, {0xE2, 0x00, 0x40});  // pitch bend back to centre
  track.EndOfTrack(0);
}

void Drums(SmfTrack& track) {
  std::uint32_t pending = 0;
  for (int bar = 0; bar < 8; ++bar) {
    for (int eighth = 0; eighth < 8; ++eighth) {
      const bool kick = eighth == 0 || eighth == 4 || (bar % 2 == 1 && eighth == 5);
      const bool snare = eighth == 2 || eighth == 6;
      track.NoteOn(pending, 9, 42, eighth % 2 == 0 ? 90 : 60);  // closed hi-hat
      if (kick) track.NoteOn(0, 9, 36, 110);
      if (snare) track.NoteOn(0, 9, 38, 100);
      track.NoteOff(kBeat / 2 - 10, 9, 42);
      if (kick) track.NoteOff(0, 9, 36);
      if (snare) track.NoteOff(0, 9, 38);
      pending = 10;
    }
  }
  track.NoteOn(pending, 9, 49, 110);  // crash on the last downbeat
  track.NoteOff(kBeat, 9, 49);
  track.EndOfTrack(0);
}

// The RCP file: steps and gates in its 48 ticks a quarter note, a tenth of the MIDI file's.
constexpr std::uint8_t kRcpBeat = 48;

void RcpPiano(RecomposerTrack& track) {
  track.Channel(0);
  // GS reset through the Roland exclusive commands: device 10 42, address 40 00, data 7F 00.
  track.Command(0xDF, 0, 0x10, 0x42).Command(0xDD, 0, 0x40, 0x00).Command(0xDE, 0, 0x7F, 0x00);
  // The header tempo is 96; 80/64 of it is 120, 88/64 of it 132.
  track.Tempo(0, 80).Program(0, 0).Control(0, 7, 100);
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t root = kRoots[bar];
    for (int beat = 0; beat < 4; ++beat) {
      if (bar == 4 && beat == 0) track.Tempo(0, 88);
      track.Note(0, root, kRcpBeat - 6, beat == 0 ? 96 : 72);
      track.Note(0, static_cast<std::uint8_t>(root + kThirds[bar]), kRcpBeat - 6, beat == 0 ? 88 : 64);
      track.Note(kRcpBeat, static_cast<std::uint8_t>(root + 7), kRcpBeat - 6, beat == 0 ? 88 : 64);
    }
  }
  track.End();
}

void RcpBass(RecomposerTrack& track) {
  track.Channel(1).Program(0, 33);
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t root = static_cast<std::uint8_t>(kRoots[bar] - 24);
    for (std::uint8_t note : {root, root, static_cast<std::uint8_t>(root + 7), root}) {
      track.Note(kRcpBeat, note, kRcpBeat - 4, 100);
    }
  }
  track.End();
}

void RcpStrings(RecomposerTrack& track) {
  track.Channel(2).Program(0, 48).Control(0, 91, 64);
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint8_t top = static_cast<std::uint8_t>(kRoots[bar] + 12 + kThirds[bar]);
    track.Note(2 * kRcpBeat, top, 4 * kRcpBeat, 64);
    track.Control(2 * kRcpBeat, 11, bar % 2 == 0 ? 100 : 80);
  }
  track.Command(0xEE, 0, 0x00, 0x40);  // pitch bend back to centre
  track.End();
}

void RcpDrums(RecomposerTrack& track) {
  track.Channel(9).Key(0x80);  // a rhythm track: never transposed
  for (int bar = 0; bar < 8; ++bar) {
    for (int eighth = 0; eighth < 8; ++eighth) {
      const bool kick = eighth == 0 || eighth == 4 || (bar % 2 == 1 && eighth == 5);
      const bool snare = eighth == 2 || eighth == 6;
      const std::uint8_t gate = kRcpBeat / 2 - 1;
      const std::uint8_t step = kRcpBeat / 2;
      track.Note(kick || snare ? 0 : step, 42, gate, eighth % 2 == 0 ? 90 : 60);
      if (kick) track.Note(snare ? 0 : step, 36, gate, 110);
      if (snare) track.Note(step, 38, gate, 100);
    }
  }
  track.Note(kRcpBeat, 49, kRcpBeat, 110);  // crash on the last downbeat
  track.End();
}

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) return true;
  std::fprintf(stderr, "velvasto-make-demo: cannot write %s\n", path);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velvasto-make-demo OUT.mid OUT.rcp\n");
    return 2;
  }
  SmfBuilder song(1, kBeat);
  Conductor(song.AddTrack());
  Piano(song.AddTrack());
  Bass(song.AddTrack());
  Strings(song.AddTrack());
  Drums(song.AddTrack());

  RcpBuilder rcp;
  rcp.header.title = "Velvasto Demo";
  rcp.header.timeBase = kRcpBeat;
  rcp.header.tempo = 96;
  RcpPiano(rcp.AddTrack());
  RcpBass(rcp.AddTrack());
  RcpStrings(rcp.AddTrack());
  RcpDrums(rcp.AddTrack());

  return WriteFile(argv[1], song.Build()) && WriteFile(argv[2], rcp.Build()) ? 0 : 1;
}
