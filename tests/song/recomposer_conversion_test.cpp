// The conversion of Recomposer songs into the event table, through RCP and G36 files built in
// the tests: the command table, loops and same-measure references, and what G36 songs convert
// differently. Songs use tempo 125 at time base 48 unless they say otherwise: one tick is
// 10,000 µs.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "recomposer_load.h"

namespace velvasto {
namespace {

using Lines = std::vector<std::string>;
using test::DumpMessages;
using test::G36Builder;
using test::LoadG36;
using test::LoadRcp;
using test::RcpBuilder;
using test::RecomposerTrack;

RcpBuilder Song() {
  RcpBuilder song;
  song.header.tempo = 125;
  return song;
}

G36Builder G36Song() {
  G36Builder song;
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

std::vector<int> Play(const std::function<void(RecomposerTrack&)>& commands, int loopLimit = 255) {
  test::RcpBuilder song;
  commands(song.AddTrack());
  SongSettings settings{.rcpLoopLimit = loopLimit};
  return test::NotesPlayed(*test::LoadRcp(song.Build(), settings));
}

RecomposerTrack& N(RecomposerTrack& track, std::uint8_t note) { return track.Note(1, note, 1, 100); }

TEST(RcpFlowTest, LoopsRepeatTheirBodyWithinTheLimitAndNestFiveDeep) {
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(N(t, 1).LoopStart(), 2).LoopEnd(3), 3).End(); }),
            (std::vector<int>{1, 2, 2, 2, 3}));
  // Count 0 or above the limit plays the limit.
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(t.LoopStart(), 2).LoopEnd(0).LoopStart(), 5).LoopEnd(9).End(); }, 3),
            (std::vector<int>{2, 2, 2, 5, 5, 5}));
  const std::vector<int> unlimited = Play([](RecomposerTrack& t) { N(t.LoopStart(), 2).LoopEnd(0).End(); });
  EXPECT_EQ(std::count(unlimited.begin(), unlimited.end(), 2), 255);
  // A loop end without a start is ignored.
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(t, 1).LoopEnd(4), 2).End(); }), (std::vector<int>{1, 2}));
  // Six loop starts and ends of count 2: five loops nest (2^5 rounds), the sixth is ignored.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              for (int i = 0; i < 6; ++i) t.LoopStart();
              N(t, 7);
              for (int i = 0; i < 6; ++i) t.LoopEnd(2);
              t.End();
            }).size(),
            32u);
}

TEST(RcpFlowTest, SameMeasureReferencesPlayTheMeasureAndComeBack) {
  using Notes = std::vector<int>;
  // The comments number the records. Plain references, the first measure among them:
  // 0 note, 1 note, 2 FD, 3 FC→0, 4 note, 5 FD, 6 FC→4, 7 FC→4.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              N(N(N(N(t, 1), 2).MeasureEnd().SameMeasure(0), 3).MeasureEnd().SameMeasure(4).SameMeasure(4), 9).End();
            }), (Notes{1, 2, 1, 2, 3, 3, 3, 9}));
  // Chains are followed to the measure played; a reference to itself is ignored:
  // 0 note, 1 FD, 2 note, 3 FD, 4 FC→2, 5 FC→4, 6 FC→5, 7 FC→6, 8 FC→8.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              N(N(t, 0).MeasureEnd(), 1).MeasureEnd().SameMeasure(2).SameMeasure(4).SameMeasure(5).SameMeasure(6).SameMeasure(8);
              N(t, 9).End();
            }), (Notes{0, 1, 1, 1, 1, 1, 9}));
  // Chains reaching record 0 are measure ends; a reference after notes closes the measure.
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(t.SameMeasure(3), 1).MeasureEnd().SameMeasure(0), 2).End(); }), (Notes{1, 2}));
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(N(t, 1).MeasureEnd(), 2).SameMeasure(0).SameMeasure(2), 3).End(); }),
            (Notes{1, 2, 2, 3}));
  // References inside a loop return on every round:
  // 0 note, 1 FD, 2 note, 3 FD, 4 loop, 5 note, 6 FD, 7 FC→2, 8 loop end.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              N(N(N(t, 1).MeasureEnd(), 2).MeasureEnd().LoopStart(), 5).MeasureEnd().SameMeasure(2).LoopEnd(2).End();
            }), (Notes{1, 2, 5, 2, 5, 2}));
  // A loop inside a referenced measure restores the return:
  // 0 note, 1 FD, 2 loop, 3 note, 4 loop end, 5 FD, 6 FC→2.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              N(N(N(t, 0).MeasureEnd().LoopStart(), 1).LoopEnd(2).MeasureEnd().SameMeasure(2), 9).End();
            }), (Notes{0, 1, 1, 1, 1, 9}));
  // References that lead to each other without a measure end: a damaged file.
  test::RcpBuilder song;
  N(song.AddTrack(), 1).MeasureEnd().SameMeasure(3).SameMeasure(2).End();
  EXPECT_EQ(test::ErrorText([&] { test::LoadRcp(song.Build()); }), "壊れたRCPファイルです。");
}


TEST(RcpFlowTest, ReferencesToNoRecordOfTheTrackAreMeasureEnds) {
  using Notes = std::vector<int>;
  // Past the last record, inside the track header, and a chain that ends past the last record:
  // 0 note, 1 FD, 2 FC→40, 3 note, 4 FD, 5 FC (offset 16), 6 note, 7 FD, 8 FC→9, 9 FC→50, 10 note.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              N(N(N(t, 1).MeasureEnd().SameMeasure(40), 2).MeasureEnd().Command(0xFC, 0, 16, 0), 3)
                  .MeasureEnd().SameMeasure(9).SameMeasure(50);
              N(t, 4).End();
            }), (Notes{1, 2, 3, 4}));
}

// Track 1 plays 3C, refers to its first measure and plays 40; track 2 plays 48, 4A, 4C, a
// measure each. At tempo 120 and time base 48 a measure of 48 ticks lasts 500,000 µs.
template <typename Builder>
Builder FirstMeasureAgain() {
  Builder song;
  song.AddTrack().Note(48, 0x3C, 24, 100).MeasureEnd().SameMeasure(0).Note(48, 0x40, 24, 100).End();
  song.AddTrack().Note(48, 0x48, 24, 100).Note(48, 0x4A, 24, 100).Note(48, 0x4C, 24, 100).End();
  return song;
}

// The note-ons of velocity above 0, as dump lines.
Lines Strikes(const CMIDIStream& stream) {
  Lines lines = DumpMessages(stream);
  std::erase_if(lines, [](const std::string& line) { return line.ends_with(" 00"); });
  return lines;
}

TEST(RcpFlowTest, AReferenceToTheFirstRecordPlaysTheFirstMeasureAgainInBothLayouts) {
  const Lines expected{"0 A MSG 90 3C 64",      "0 A MSG 90 48 64",       "500000 A MSG 90 3C 64",
                       "500000 A MSG 90 4A 64", "1000000 A MSG 90 40 64", "1000000 A MSG 90 4C 64"};
  EXPECT_EQ(Strikes(*LoadRcp(FirstMeasureAgain<RcpBuilder>().Build())), expected);
  EXPECT_EQ(Strikes(*LoadG36(FirstMeasureAgain<G36Builder>().Build())), expected);
}

TEST(G36ConversionTest, RecordsCarryLongStepsAndTheirDataInBytesFourAndOne) {
  G36Builder song = G36Song();
  song.header.userExclusives[0] = {0x41, 0x10, 0x80, 0x81, 0xF7};
  std::vector<std::uint8_t> template25(25, 0x01);  // 25 bytes a template, without an F7
  template25[24] = 0x25;
  song.header.userExclusives[4] = template25;
  // Control change, pitch bend, user exclusive, Roland base address and parameter, track
  // exclusive (five bytes a record), bank LSB and program, a note of 16-bit step and gate, a
  // loop whose count is the step field's low byte, a user exclusive of 25 bytes.
  song.AddTrack().Channel(0x03).Control(1, 0x07, 0x64).Command(0xEE, 1, 0x11, 0x22).UserExclusive(0, 1, 0x33, 0x44)
      .Command(0xDD, 0, 0x40, 0x00).Command(0xDE, 1, 0x7F, 0x00)
      .TrackExclusive(1, 0x05, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x11, 0x82, 0x80, 0x84, 0x00})
      .Command(0xE1, 1, 0x30, 0x02).Note(1000, 60, 300, 100).LoopStart().Note(1, 62, 1, 90).Command(0xF8, 0x0102)
      .UserExclusive(4, 1, 0, 0).End();
  std::string template25Line = "10080000 A SYX F0";
  for (int i = 0; i < 24; ++i) template25Line += " 01";
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())),
            (Lines{"0 A MSG B3 07 64", "10000 A MSG E3 11 22", "20000 A SYX F0 41 10 33 44 F7",
                   "30000 A SYX F0 41 10 16 12 40 00 7F 00 41 F7", "40000 A SYX F0 41 10 42 12 40 11 03 05 27 00 F7",
                   "50000 A MSG B3 20 02", "50000 A MSG C3 30", "60000 A MSG 93 3C 64", "3060000 A MSG 93 3C 00",
                   "10060000 A MSG 93 3E 5A", "10070000 A MSG 93 3E 00", "10070000 A MSG 93 3E 5A",
                   "10080000 A MSG 93 3E 00", template25Line + " 25 F7"}));
}

TEST(G36ConversionTest, BankLsbCommandKeepsOlderMapsUnderAForcedMap) {
  SongSettings forced{.mapMode = 2, .forceMap = 2};
  G36Builder song = G36Song();
  song.AddTrack().Command(0xE1, 1, 0x30, 0x03).Command(0xE1, 1, 0x31, 0x01).End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build(), forced)),
            (Lines{"0 A MSG B0 20 02", "0 A MSG C0 30", "10000 A MSG B0 20 01", "10000 A MSG C0 31"}));
}

TEST(G36ConversionTest, SameMeasureRefersToAMeasureNumber) {
  G36Builder song = G36Song();
  // Measures 0 and 1; measure 2 as measure 1; measure 3 as measure 2, which refers to measure 1;
  // a reference after a note closes the measure; one to a measure that does not exist is a
  // measure end.
  song.AddTrack().Note(1, 1, 1, 100).MeasureEnd().Note(1, 2, 1, 100).MeasureEnd().SameMeasure(1).SameMeasure(2)
      .Note(1, 3, 1, 100).SameMeasure(0).SameMeasure(9).End();
  EXPECT_EQ(test::NotesPlayed(*LoadG36(song.Build())), (std::vector<int>{1, 2, 2, 2, 3}));
  // The measure table stops at its cap however many measure ends a track has.
  EXPECT_EQ(G36MeasureTable(std::vector<RcpRecord>(5000, {0xFD, 0, 0, 0, 0, 0})).size(), CG36File::kMaxMeasures);
}

// The time of `tick` as a walk over every single tick computes it: each tick adds
// (remainder + 60,000,000) / tempo / time base and keeps the remainder. `tempoAt` gives the
// tempo from each tick on.
std::uint64_t TickByTickTime(std::uint64_t tick, std::uint32_t timeBase, const std::map<std::uint64_t, std::uint32_t>& tempoAt) {
  std::uint64_t time = 0;
  std::uint64_t remainder = 0;
  std::uint32_t tempo = tempoAt.at(0);
  for (std::uint64_t t = 1; t <= tick; ++t) {
    const std::uint64_t a = remainder + 60'000'000;
    const std::uint64_t step = a / tempo / timeBase;
    time += step;
    remainder = a - step * tempo * timeBase;
    if (auto change = tempoAt.find(t); change != tempoAt.end()) tempo = change->second;
  }
  return time;
}

TEST(G36ConversionTest, SkippingIdleTicksGivesTheTimesOfATickByTickWalk) {
  G36Builder song;
  song.header = {.timeBase = 97, .tempo = 133};
  // Irregular steps and long gates on three tracks, and a tempo change at tick 1500 (133 × 80 /
  // 64 = 166).
  const std::map<std::uint64_t, std::uint32_t> tempoAt{{0, 133}, {1500, 166}};
  std::set<std::pair<std::uint64_t, int>> expected;  // time and channel × 128 + note of each strike
  std::minstd_rand random(12345);
  for (int t = 0; t < 3; ++t) {
    auto& track = song.AddTrack().Channel(static_cast<std::uint8_t>(t));
    for (std::uint64_t tick = 0, i = 0; i < 40; ++i) {
      const auto step = static_cast<std::uint16_t>(1 + random() % (t == 0 ? 3000 : 200));
      const auto gate = static_cast<std::uint16_t>(1 + random() % 5000);
      const auto note = static_cast<std::uint8_t>(random() % 128);
      if (t == 1 && tick <= 1500 && tick + step > 1500) {
        track.Rest(static_cast<std::uint16_t>(1500 - tick)).Tempo(0, 80);
        tick = 1500;
      }
      track.Note(step, note, gate, 100);
      expected.emplace(TickByTickTime(tick, 97, tempoAt), t * 128 + note);
      tick += step;
    }
    track.End();
  }
  // Lengthened notes strike no new note-on, so every strike must be one of the expected ones.
  std::size_t strikes = 0;
  const auto file = LoadG36(song.Build());
  for (const StreamEvent& event : file->Events()) {
    if ((event.status & 0xF0) != 0x90 || (event.message >> 16) == 0) continue;
    ++strikes;
    EXPECT_TRUE(expected.contains({event.time, (event.status & 0x0F) * 128 + ((event.message >> 8) & 0x7F)})) << event.time;
  }
  EXPECT_GT(strikes, 100u);
}

}  // namespace
}  // namespace velvasto
