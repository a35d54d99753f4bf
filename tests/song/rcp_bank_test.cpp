// The bank handling shared with the Standard MIDI File reader, as RCP commands reach it.
// Songs use tempo 125 at time base 48: one tick is 10,000 µs.

#include <gtest/gtest.h>

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

TEST(RcpBankTest, AForcedMapReachesEachChannelBeforeItsFirstNote) {
  SongSettings forced;
  forced.mapMode = 2;
  forced.forceMap = 1;  // SC-88Pro: map LSB 3
  RcpBuilder song = Song();
  song.AddTrack().Note(1, 60, 1, 100).Note(1, 62, 1, 100).End();
  song.AddTrack().Channel(0x01).Control(0, 0x20, 0x00).Note(1, 64, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), forced)),
            (Lines{"0 B0 20 03 A", "0 C0 00 A", "0 90 3C 64 A", "0 B1 20 03 A", "0 91 40 64 A",
                   "10000 90 3C 00 A", "10000 91 40 00 A", "10000 90 3E 64 A", "20000 90 3E 00 A"}));
  EXPECT_EQ(LoadRcp(song.Build(), forced)->Info().mapResult, 3);
}

TEST(RcpBankTest, ProgramCommandsBringTheMapLsbFirst) {
  SongSettings forced;
  forced.mapMode = 2;
  forced.forceMap = 3;  // SC-55: map LSB 1
  RcpBuilder song = Song();
  song.AddTrack().Program(1, 5).BankProgram(1, 8, 6).Control(0, 0x20, 0x02).End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), forced)),
            (Lines{"0 B0 20 01 A", "0 C0 05 A", "10000 B0 00 08 A", "10000 C0 06 A", "20000 B0 20 01 A"}));
}

TEST(RcpBankTest, VariationFallbackFitsBanksToTheFirstModule) {
  SongSettings adjust;
  adjust.adjust55 = true;
  RcpBuilder song = Song();
  song.AddTrack()
      .BankProgram(1, 9, 0)     // Piano 1 has variations on 8 and 16: bank 9 becomes 8
      .Control(0, 0x00, 20)     // bank 20 remembered for the channel
      .Program(1, 56)           // Trumpet has only the capital tone: bank 0 is sent
      .Control(0, 0x63, 0x01)   // NRPN 01 20: cutoff, held at 64
      .Control(0, 0x62, 0x20)
      .Control(1, 0x06, 0x70)
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), adjust)),
            (Lines{"0 B0 00 08 A", "0 C0 00 A", "10000 B0 00 14 A", "10000 B0 00 00 A", "10000 C0 38 A",
                   "20000 B0 63 01 A", "20000 B0 62 20 A", "20000 B0 06 40 A"}));
}

TEST(RcpBankTest, DrumPitchConversionSendsTheExclusiveBeforeTheDataEntry) {
  SongSettings fix;
  fix.fix8850 = true;
  fix.portCount = 2;
  RcpBuilder song = Song();
  song.AddTrack()
      .Channel(0x19)  // channel 10 of port B
      .Control(0, 0x63, 0x18)
      .Control(0, 0x62, 0x24)
      .Control(1, 0x06, 0x44)
      .Control(1, 0x06, 0x02)  // below 4: pitch 0
      .End();
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), fix)),
            (Lines{"0 B9 63 18 B", "0 B9 62 24 B", "0 F0 41 10 42 12 41 01 24 40 5A F7 B", "0 B9 06 44 B",
                   "10000 F0 41 10 42 12 41 01 24 00 1A F7 B", "10000 B9 06 02 B"}));
  // With one port the track's messages are dropped, its exclusive messages with them.
  fix.portCount = 1;
  EXPECT_EQ(DumpMessages(*LoadRcp(song.Build(), fix)), Lines{});
}

}  // namespace
}  // namespace velvasto
