// The command table of the Recomposer conversion, through RCP files built in the tests.
// Songs use tempo 125 at time base 48 unless they say otherwise: one tick is 10,000 µs.

#include <gtest/gtest.h>

#include <algorithm>

#include "recomposer_load.h"

namespace velvasto {
namespace {

using test::DumpMessages;
using test::LoadRcp;
using test::RcpBuilder;
using Lines = std::vector<std::string>;

RcpBuilder Song() {
  RcpBuilder song;
  song.header.tempo = 125;
  return song;
}

TEST(RcpConversionTest, TableRunsFromTheTempoToTheLastPlayedTrackEnd) {
  RcpBuilder song = Song();
  song.AddTrack().Note(4, 60, 2, 100).End();
  song.AddTrack().Rest(7).End();
  song.AddTrack().Mode(1).Note(1, 62, 1, 100);  // muted, and without an end: never run
  EXPECT_EQ(test::EventLines(*LoadRcp(song.Build())),
            (Lines{"0 - TEMPO 125", "0 A MSG 90 3C 64", "20000 A MSG 90 3C 00", "70000 A END"}));
  RcpBuilder muted = Song();
  muted.AddTrack().Mode(1).Note(1, 60, 1, 100).End();
  EXPECT_EQ(test::EventLines(*LoadRcp(muted.Build())), (Lines{"0 - TEMPO 125", "0 A END"}));
}

TEST(RcpConversionTest, ChannelCommandsProduceTheirMessages) {
  RcpBuilder song = Song();
  // Channel after touch, control change, program change, polyphonic after touch, pitch bend,
  // bank select MSB and program; key scan sends nothing, an unknown command takes no step, 0xE1
  // (a G36 command) is ignored; gate 0 and velocity 0 are rests; gate 1 ends on the next tick.
  song.AddTrack().Channel(0x03).Command(0xEA, 1, 0x40).Control(1, 0x07, 0x64).Program(1, 0x05)
      .Command(0xED, 1, 0x3C, 0x20).Command(0xEE, 1, 0x00, 0x40).BankProgram(1, 0x08, 0x10)
      .Command(0xE5, 1).Command(0xE0, 9).Command(0xE1, 9, 0x30, 0x02)
      .Note(1, 60, 0, 100).Note(1, 61, 5, 0).Note(1, 62, 1, 90).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 A MSG D3 40", "10000 A MSG B3 07 64", "20000 A MSG C3 05", "30000 A MSG A3 3C 20",
                   "40000 A MSG E3 00 40", "50000 A MSG B3 00 08", "50000 A MSG C3 10", "90000 A MSG 93 3E 5A",
                   "100000 A MSG 93 3E 00"}));
}

TEST(RcpConversionTest, PortsFollowTheChannelsAndOnePortDropsEverythingForPortB) {
  RcpBuilder song = Song();
  song.header.userExclusives[0] = {0x41, 0x10, 0x42, 0x12, 0xF7};
  song.AddTrack().Channel(0x11).Note(1, 60, 1, 100).UserExclusive(0, 1, 0, 0).Control(1, 7, 100).End();
  // MIDI channel 18 is channel 2 of port B, 16 channel 16 of port A.
  song.AddTrack().Note(1, 61, 1, 100).MidiChannel(0, 18).Note(1, 62, 1, 100).MidiChannel(0, 16).Note(1, 63, 1, 100).End();
  // A switched-off track plays no notes but sends its exclusives on port B.
  song.AddTrack().Channel(0xFF).Note(1, 64, 1, 100).UserExclusive(0, 4, 0, 0).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), SongSettings{.portCount = 2})),
            (Lines{"0 B MSG 91 3C 64", "0 A MSG 90 3D 64", "10000 B MSG 91 3C 00", "10000 A MSG 90 3D 00",
                   "10000 B SYX F0 41 10 42 12 F7", "10000 B MSG 91 3E 64", "10000 B SYX F0 41 10 42 12 F7",
                   "20000 B MSG 91 3E 00", "20000 B MSG B1 07 64", "20000 A MSG 9F 3F 64", "30000 A MSG 9F 3F 00"}));
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 A MSG 90 3D 64", "10000 A MSG 90 3D 00", "20000 A MSG 9F 3F 64", "30000 A MSG 9F 3F 00"}));
}

TEST(RcpConversionTest, NotesAreTransposedExceptOnRhythmTracksAndLengthenedWhenStruckAgain) {
  RcpBuilder song = Song();
  song.header.playBias = -3;
  song.AddTrack().Key(5).Note(0, 60, 1, 100).Rest(1).End();     // 60 - 3 + 5
  song.AddTrack().Key(0x7E).Note(0, 1, 1, 100).Rest(1).End();   // 1 - 3 + 126 = 124
  song.AddTrack().Key(0x85).Note(0, 36, 1, 100).Rest(1).End();  // rhythm: as it is
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 A MSG 90 3E 64", "0 A MSG 90 7C 64", "0 A MSG 90 24 64", "10000 A MSG 90 3E 00",
                   "10000 A MSG 90 7C 00", "10000 A MSG 90 24 00"}));
  // The second strike of 60 at tick 2 comes while the first (gate 4) sounds: it is lengthened
  // to end at tick 2 + 6. A note that ends on the tick it is struck again is released first.
  RcpBuilder again = Song();
  again.AddTrack().Note(2, 60, 4, 100).Note(10, 60, 6, 80).End();
  again.AddTrack().Note(3, 70, 3, 100).Note(5, 70, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(again.Build())),
            (Lines{"0 A MSG 90 3C 64", "0 A MSG 90 46 64", "30000 A MSG 90 46 00", "30000 A MSG 90 46 64",
                   "40000 A MSG 90 46 00", "80000 A MSG 90 3C 00"}));
}

TEST(RcpConversionTest, StepShiftsTempoRatiosAndTheClockRemainder) {
  RcpBuilder shifted = Song();  // shifts move tracks against the earliest
  shifted.AddTrack().StepShift(-2).Note(1, 60, 1, 100).End();
  shifted.AddTrack().StepShift(3).Note(1, 62, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(shifted.Build())),
            (Lines{"0 A MSG 90 3C 64", "10000 A MSG 90 3C 00", "50000 A MSG 90 3E 64", "60000 A MSG 90 3E 00"}));
  RcpBuilder song;
  song.header.timeBase = 50;  // 10,000 µs a tick at 120; tempo commands are ratios: 64 keeps it
  song.AddTrack().Tempo(2, 32).Tempo(2, 64).Tempo(1, 128).Note(1, 60, 1, 100).End();
  EXPECT_EQ(test::EventLines(*LoadRcp(song.Build())),
            (Lines{"0 - TEMPO 120", "0 - TEMPO 60", "40000 - TEMPO 120", "60000 - TEMPO 240", "65000 A MSG 90 3C 64",
                   "70000 A MSG 90 3C 00", "70000 A END"}));
  RcpBuilder exact;  // 10,416 2/3 µs a tick at 120 and time base 48
  exact.AddTrack().Note(1, 60, 1, 100).Note(1, 61, 1, 100).Note(1, 62, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(exact.Build())),
            (Lines{"0 A MSG 90 3C 64", "10416 A MSG 90 3C 00", "10416 A MSG 90 3D 64", "20833 A MSG 90 3D 00",
                   "20833 A MSG 90 3E 64", "31250 A MSG 90 3E 00"}));
}

TEST(RcpConversionTest, ExclusiveCommandsFillTheirTemplatesWithChecksums) {
  RcpBuilder song = Song();
  song.header.userExclusives[2] = {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x00, 0x7F, 0x80, 0x84, 0xF7};
  // Channel and second value, a sum restarted after a checksum, no F7: the template runs to its
  // 24th byte and an F7 is appended.
  song.header.userExclusives[7] = {0x82, 0x81, 0x83, 0x10, 0x84, 0x83, 0x01, 0x84};
  // Roland device 10 model 42, base address 40 01, parameter 30 = 04; Yamaha device, base
  // address, a parameter with and one without checksum; user and track exclusives (a data byte
  // F7 ends a track exclusive).
  song.AddTrack().Channel(0x05).Command(0xDF, 0, 0x10, 0x42).Command(0xDD, 0, 0x40, 0x01).Command(0xDE, 1, 0x30, 0x04)
      .Command(0xD2, 0, 0x10, 0x4C).Command(0xD0, 0, 0x02, 0x01).Command(0xD1, 1, 0x40, 0x00).Command(0xD3, 1, 0x41, 0x7F)
      .UserExclusive(2, 1, 0x00, 0x55).UserExclusive(7, 1, 0x00, 0x22)
      .TrackExclusive(1, 0x7F, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x10, 0x82, 0x80, 0x84})
      .TrackExclusive(1, 0x00, 0x00, {0x43, 0xF7, 0x99, 0x98})
      .End();
  // 05 22, sum 10 → checksum 70; the sum goes on from 70: 70 + 01 = 71 → checksum 0F; then
  // 16 zero bytes of the 24.
  std::string zeros;
  for (int i = 0; i < 16; ++i) zeros += " 00";
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 A SYX F0 41 10 42 12 40 01 30 04 0B F7", "10000 A SYX F0 43 10 4C 02 01 40 00 3D F7",
                   "20000 A SYX F0 43 10 4C 02 01 41 7F F7", "30000 A SYX F0 41 10 42 12 40 00 7F 00 41 F7",
                   "40000 A SYX F0 05 22 10 70 01 0F" + zeros + " F7", "50000 A SYX F0 41 10 42 12 40 10 05 7F 2C F7",
                   "60000 A SYX F0 43 F7"}));
  // A track exclusive is bounded however many continuation records follow it.
  RcpBuilder longOne = Song();
  auto& track = longOne.AddTrack().Command(0x98, 1, 0, 0);
  for (int i = 0; i < 5000; ++i) track.Command(0xF7, 0, 0x11, 0x22);
  track.End();
  const auto file = LoadRcp(longOne.Build());
  const auto bytes = file->SysExData(file->Events()[1]);
  EXPECT_EQ(std::make_pair(bytes.size(), bytes.back()), std::make_pair(std::size_t{4096}, std::uint8_t{0xF7}));
}

TEST(RcpConversionTest, MoreThan256SoundingNotesAreDropped) {
  RcpBuilder song = Song();
  auto& track = song.AddTrack();
  for (int note = 0; note < 256; ++note) (note == 128 ? track.MidiChannel(0, 2) : track).Note(0, note % 128, 5, 100);
  track.MidiChannel(0, 3).Note(0, 60, 5, 100);  // the 257th: no slot left
  track.Rest(10).Note(1, 61, 1, 100).End();     // after the release there is room again
  const Lines lines = DumpMessages(*LoadRcp(song.Build()));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.ends_with(" 64"); }),
            256 + 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "0 A MSG 92 3C 64"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "100000 A MSG 92 3D 64"), 1);
}

// The bank handling shared with the Standard MIDI File reader, as RCP commands reach it.
TEST(RcpConversionTest, ForcedMapReachesEachChannelBeforeItsFirstNoteOrProgram) {
  SongSettings forced{.mapMode = 2, .forceMap = 1};
  RcpBuilder song = Song();
  song.AddTrack().Note(1, 60, 1, 100).Note(1, 62, 1, 100).End();
  song.AddTrack().Channel(0x01).Control(0, 0x20, 0x00).Note(1, 64, 1, 100).End();
  song.AddTrack().Channel(0x02).BankProgram(1, 8, 6).Control(0, 0x20, 0x02).End();  // an older map's LSB stays
  const auto file = LoadRcp(song.Build(), forced);
  EXPECT_EQ(DumpMessages(*file),
            (Lines{"0 A MSG B0 20 03", "0 A MSG C0 00", "0 A MSG 90 3C 64", "0 A MSG B1 20 03", "0 A MSG 91 40 64",
                   "0 A MSG B2 20 03", "0 A MSG B2 00 08", "0 A MSG C2 06", "10000 A MSG 90 3C 00",
                   "10000 A MSG 91 40 00", "10000 A MSG 90 3E 64", "10000 A MSG B2 20 02", "20000 A MSG 90 3E 00"}));
  EXPECT_EQ(file->Info().mapResult, 3);
}

TEST(RcpConversionTest, VariationFallbackAndDrumPitchConversionApplyToRcpTracks) {
  SongSettings settings{.portCount = 2, .adjust55 = true, .fix8850 = true};
  RcpBuilder song = Song();
  // Channel 10 of port B; Piano 1 has variations on 8 and 16: bank 9 becomes 8; NRPN 18 24 sets
  // the pitch of drum note 36, a value below 4 pitch 0.
  song.AddTrack().Channel(0x19).BankProgram(0, 9, 0).Control(0, 0x63, 0x18).Control(0, 0x62, 0x24)
      .Control(1, 0x06, 0x44).Control(1, 0x06, 0x02).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), settings)),
            (Lines{"0 B MSG B9 00 08", "0 B MSG C9 00", "0 B MSG B9 63 18", "0 B MSG B9 62 24",
                   "0 B SYX F0 41 10 42 12 41 01 24 40 5A F7", "0 B MSG B9 06 44",
                   "10000 B SYX F0 41 10 42 12 41 01 24 00 1A F7", "10000 B MSG B9 06 02"}));
}

}  // namespace
}  // namespace velvasto
