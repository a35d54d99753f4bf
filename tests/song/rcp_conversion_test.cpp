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

SongSettings TwoPorts() {
  SongSettings settings;
  settings.portCount = 2;
  return settings;
}

TEST(RcpConversionTest, ATableStartsWithTheTempoAndEndsAtTheLastTrackEnd) {
  RcpBuilder song = Song();
  song.AddTrack().Note(4, 60, 2, 100).End();
  song.AddTrack().Rest(7).End();
  const auto file = LoadRcp(song.Build());
  EXPECT_EQ(test::Dump(*file), (Lines{"0 tempo 125", "0 90 3C 64 A", "20000 90 3C 00 A", "70000 end"}));
}

TEST(RcpConversionTest, ChannelCommandsProduceTheirMessages) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Channel(0x03)
      .Command(0xEA, 1, 0x40)        // channel after touch
      .Control(1, 0x07, 0x64)        // control change
      .Program(1, 0x05)              // program change
      .Command(0xED, 1, 0x3C, 0x20)  // polyphonic after touch
      .Command(0xEE, 1, 0x00, 0x40)  // pitch bend
      .BankProgram(1, 0x08, 0x10)    // bank select MSB and program
      .Command(0xE5, 1)              // key scan: nothing
      .Command(0xE0, 9)              // an unknown command takes no step
      .Command(0xE1, 9, 0x30, 0x02)  // bank LSB and program is a G36 command: ignored
      .Note(1, 60, 1, 100)
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 D3 40 A", "10000 B3 07 64 A", "20000 C3 05 A", "30000 A3 3C 20 A", "40000 E3 00 40 A",
                   "50000 B3 00 08 A", "50000 C3 10 A", "70000 93 3C 64 A", "80000 93 3C 00 A"}));
}

TEST(RcpConversionTest, MidiChannelCommandMovesTheTrackAcrossPorts) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 60, 1, 100)
      .MidiChannel(0, 18)  // channel 2 of port B
      .Note(1, 61, 1, 100)
      .MidiChannel(0, 16)  // channel 16 of port A
      .Note(1, 62, 1, 100)
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), TwoPorts())),
            (Lines{"0 90 3C 64 A", "10000 90 3C 00 A", "10000 91 3D 64 B", "20000 91 3D 00 B", "20000 9F 3E 64 A",
                   "30000 9F 3E 00 A"}));
}

TEST(RcpConversionTest, NotesAreTransposedExceptOnRhythmTracks) {
  RcpBuilder song = Song();
  song.header.playBias = -3;
  song.AddTrack().Key(5).Note(0, 60, 1, 100).Rest(1).End();     // 60 - 3 + 5
  song.AddTrack().Key(0x7E).Note(0, 1, 1, 100).Rest(1).End();   // 1 - 3 + 126 = 124
  song.AddTrack().Key(0x85).Note(0, 36, 1, 100).Rest(1).End();  // rhythm: as it is
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 90 3E 64 A", "0 90 7C 64 A", "0 90 24 64 A", "10000 90 3E 00 A", "10000 90 7C 00 A",
                   "10000 90 24 00 A"}));
}

TEST(RcpConversionTest, NoteOfGateOneEndsOnTheNextTick) {
  RcpBuilder song = Song();
  song.AddTrack().Rest(3).Note(5, 60, 1, 90).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())), (Lines{"30000 90 3C 5A A", "40000 90 3C 00 A"}));
}

TEST(RcpConversionTest, GateOrVelocityZeroIsARest) {
  RcpBuilder song = Song();
  song.AddTrack().Note(1, 60, 0, 100).Note(1, 61, 5, 0).Note(1, 62, 1, 1).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())), (Lines{"20000 90 3E 01 A", "30000 90 3E 00 A"}));
}

TEST(RcpConversionTest, ANoteStruckAgainWhileSoundingIsLengthened) {
  RcpBuilder song = Song();
  // The second strike of 60 at tick 2 comes while the first (gate 4) sounds: it is lengthened
  // to end at tick 2 + 6.
  song.AddTrack().Note(2, 60, 4, 100).Note(10, 60, 6, 80).End();
  // A note that ends on the tick it is struck again is released first, then struck anew.
  song.AddTrack().Note(3, 70, 3, 100).Note(5, 70, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 90 3C 64 A", "0 90 46 64 A", "30000 90 46 00 A", "30000 90 46 64 A", "40000 90 46 00 A",
                   "80000 90 3C 00 A"}));
}

TEST(RcpConversionTest, StepShiftsMoveTracksAgainstTheEarliest) {
  RcpBuilder song = Song();
  song.AddTrack().StepShift(-2).Note(1, 60, 1, 100).End();
  song.AddTrack().StepShift(3).Note(1, 62, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 90 3C 64 A", "10000 90 3C 00 A", "50000 90 3E 64 A", "60000 90 3E 00 A"}));
}

TEST(RcpConversionTest, TempoCommandIsARatioOfTheHeaderTempo) {
  RcpBuilder song;
  song.header.tempo = 120;
  song.header.timeBase = 50;  // 10,000 µs a tick at 120
  song.AddTrack().Tempo(2, 32).Tempo(2, 64).Tempo(1, 128).Note(1, 60, 1, 100).End();
  EXPECT_EQ(test::Dump(*LoadRcp(song.Build())),
            (Lines{"0 tempo 120", "0 tempo 60", "40000 tempo 120", "60000 tempo 240", "65000 90 3C 64 A",
                   "70000 90 3C 00 A", "70000 end"}));
}

TEST(RcpConversionTest, ClockCarriesTheRemainderOfEachTick) {
  RcpBuilder song;
  song.header.tempo = 120;  // 10,416 2/3 µs a tick at time base 48
  song.AddTrack().Note(1, 60, 1, 100).Note(1, 61, 1, 100).Note(1, 62, 1, 100).Note(1, 63, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 90 3C 64 A", "10416 90 3C 00 A", "10416 90 3D 64 A", "20833 90 3D 00 A", "20833 90 3E 64 A",
                   "31250 90 3E 00 A", "31250 90 3F 64 A", "41666 90 3F 00 A"}));
}

TEST(RcpConversionTest, RolandAndYamahaParameterCommandsFillTheirTemplates) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Command(0xDF, 0, 0x10, 0x42)  // Roland device 10, model 42
      .Command(0xDD, 0, 0x40, 0x01)  // base address 40 01
      .Command(0xDE, 1, 0x30, 0x04)  // address 40 01 30, data 04
      .Command(0xD2, 0, 0x10, 0x4C)  // Yamaha device
      .Command(0xD0, 0, 0x02, 0x01)  // base address
      .Command(0xD1, 1, 0x40, 0x00)  // parameter with checksum
      .Command(0xD3, 1, 0x41, 0x7F)  // parameter without checksum
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 F0 41 10 42 12 40 01 30 04 0B F7 A", "10000 F0 43 10 4C 02 01 40 00 3D F7 A",
                   "20000 F0 43 10 4C 02 01 41 7F F7 A"}));
}

TEST(RcpConversionTest, UserExclusiveTranslatesItsTemplate) {
  RcpBuilder song = Song();
  song.header.userExclusives[2] = {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x00, 0x7F, 0x80, 0x84, 0xF7};
  // Channel and second value, a sum restarted after a checksum, no F7: the template runs to its
  // 24th byte and an F7 is appended.
  song.header.userExclusives[7] = {0x82, 0x81, 0x83, 0x10, 0x84, 0x83, 0x01, 0x84};
  song.AddTrack().Channel(0x05).UserExclusive(2, 1, 0x00, 0x55).UserExclusive(7, 1, 0x00, 0x22).End();
  const Lines lines = DumpMessages(*LoadRcp(song.Build()));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "0 F0 41 10 42 12 40 00 7F 00 41 F7 A");
  // 05 22, sum 10 → checksum 70; the sum goes on from 70: 70 + 01 = 71 → checksum 0F; then
  // 16 zero bytes of the 24.
  std::string zeros;
  for (int i = 0; i < 16; ++i) zeros += " 00";
  EXPECT_EQ(lines[1], "10000 F0 05 22 10 70 01 0F" + zeros + " F7 A");
}

TEST(RcpConversionTest, TrackExclusiveTakesTheFollowingContinuationRecords) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Channel(0x02)
      .TrackExclusive(2, 0x7F, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x10, 0x82, 0x80, 0x84})
      .TrackExclusive(1, 0x00, 0x00, {0x43, 0xF7, 0x99, 0x98})  // a data byte F7 ends the message
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())),
            (Lines{"0 F0 41 10 42 12 40 10 02 7F 2F F7 A", "20000 F0 43 F7 A"}));
}

TEST(RcpConversionTest, ALongTrackExclusiveIsBounded) {
  RcpBuilder song = Song();
  auto& track = song.AddTrack().Command(0x98, 1, 0, 0);
  for (int i = 0; i < 5000; ++i) track.Command(0xF7, 0, 0x11, 0x22);
  track.End();
  const auto file = LoadRcp(song.Build());
  const StreamEvent& message = file->Events()[1];
  ASSERT_EQ(message.status, kStatusSysEx);
  const auto bytes = file->SysExData(message);
  EXPECT_EQ(bytes.size(), 4096u);
  EXPECT_EQ(bytes.front(), 0xF0);
  EXPECT_EQ(bytes.back(), 0xF7);
}

TEST(RcpConversionTest, WithOnePortTheTracksOfPortBProduceNothing) {
  RcpBuilder song = Song();
  song.header.userExclusives[0] = {0x41, 0x10, 0x42, 0x12, 0xF7};
  song.AddTrack().Channel(0x11).Note(1, 60, 1, 100).UserExclusive(0, 1, 0, 0).Control(1, 7, 100).End();
  song.AddTrack().Channel(0x01).Rest(1).Note(3, 62, 1, 100).End();
  const auto onePort = LoadRcp(song.Build());
  EXPECT_EQ(test::Dump(*onePort), (Lines{"0 tempo 125", "10000 91 3E 64 A", "20000 91 3E 00 A", "40000 end"}));
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), TwoPorts())),
            (Lines{"0 91 3C 64 B", "10000 91 3C 00 B", "10000 F0 41 10 42 12 F7 B", "10000 91 3E 64 A",
                   "20000 91 3E 00 A", "20000 B1 07 64 B"}));
}

TEST(RcpConversionTest, ASwitchedOffTrackPlaysNoNotesButSendsItsExclusivesOnPortB) {
  RcpBuilder song = Song();
  song.header.userExclusives[0] = {0x7E, 0x7F, 0x09, 0x01, 0xF7};
  song.AddTrack().Channel(0xFF).Note(1, 60, 1, 100).Program(1, 3).UserExclusive(0, 1, 0, 0).End();
  song.AddTrack().Rest(5).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), TwoPorts())), (Lines{"20000 F0 7E 7F 09 01 F7 B"}));
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build())), Lines{});
}

TEST(RcpConversionTest, ASongWhoseTracksAreAllMutedEndsAtOnce) {
  RcpBuilder song = Song();
  song.AddTrack().Mode(1).Note(1, 60, 1, 100);  // no end of track: never run
  song.AddTrack().Mode(1).Note(1, 62, 1, 100).End();
  EXPECT_EQ(test::Dump(*LoadRcp(song.Build())), (Lines{"0 tempo 125", "0 end"}));
}

TEST(RcpConversionTest, AMutedTrackIsSkippedAndTheOthersPlay) {
  RcpBuilder song = Song();
  song.AddTrack().Mode(1).Note(1, 60, 1, 100);
  song.AddTrack().Note(2, 64, 1, 100).End();
  EXPECT_EQ(test::Dump(*LoadRcp(song.Build())), (Lines{"0 tempo 125", "0 90 40 64 A", "10000 90 40 00 A", "20000 end"}));
}

TEST(RcpConversionTest, MoreThan256SoundingNotesAreDropped) {
  RcpBuilder song = Song();
  auto& track = song.AddTrack();
  for (int note = 0; note < 128; ++note) track.Note(0, static_cast<std::uint8_t>(note), 5, 100);
  track.MidiChannel(0, 2);
  for (int note = 0; note < 128; ++note) track.Note(0, static_cast<std::uint8_t>(note), 5, 100);
  track.MidiChannel(0, 3).Note(0, 60, 5, 100);  // the 257th: no slot left
  track.Rest(10).Note(1, 61, 1, 100).End();     // after the release there is room again
  const Lines lines = DumpMessages(*LoadRcp(song.Build()));
  const auto strikes = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.ends_with(" 64 A");
  });
  EXPECT_EQ(strikes, 128 + 128 + 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "0 92 3C 64 A"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "100000 92 3D 64 A"), 1);
}

}  // namespace
}  // namespace velvasto
