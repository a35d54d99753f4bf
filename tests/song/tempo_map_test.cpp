// The tempo map the readers record while they fill the table: where each tempo begins in ticks
// and in exact time, and the meters.

#include <gtest/gtest.h>

#include "recomposer_load.h"
#include "song/midi_file.h"
#include "support/control_file_builder.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

TEST(TempoMapTest, StandardMidiFileTemposAndMetersAtTheirTicksAndExactTimes) {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().TimeSignature(0, 3, 2).Tempo(0, 600'000).Tempo(100, 400'001).TimeSignature(50, 6, 3).EndOfTrack(0);
  smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(500, 0, 60).EndOfTrack(0);
  CMIDIFile file(SongSettings{});
  ASSERT_TRUE(file.LoadFromMemory(smf.Build()));
  const TempoMap& map = file.Tempos();
  EXPECT_EQ(map.TicksPerQuarter(), 96u);
  EXPECT_TRUE(map.Usable());
  ASSERT_EQ(map.Segments().size(), 2u) << "the tempo at tick 0 replaces the default";
  EXPECT_EQ(map.Segments()[0].tick, 0u);
  EXPECT_EQ(map.Segments()[0].quarterUs, 600'000.0);
  EXPECT_EQ(map.Segments()[1].tick, 100u);
  EXPECT_EQ(map.Segments()[1].timeUs, 625'000u);
  EXPECT_EQ(map.Segments()[1].quarterUs, 400'001.0);
  ASSERT_EQ(map.Meters().size(), 2u);
  EXPECT_EQ(map.Meters()[1].tick, 150u);
  EXPECT_EQ(map.Meters()[1].numerator, 6);
  EXPECT_EQ(map.Meters()[1].denominatorPower, 3);
  EXPECT_EQ(map.SongStartTick(), 0u);
}

TEST(TempoMapTest, RecomposerTempoCommandsAndControlBlockPausesGetTicks) {
  test::TempDir dir;
  dir.Write("A.CM6", test::Cm6Builder().Build());
  test::RcpBuilder song;
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.header.beatNumerator = 3;
  song.header.beatDenominator = 4;
  song.header.cm6Name = "A.CM6";
  song.AddTrack().Rest(10).Tempo(0, 48).Note(5, 60, 5, 100).End();  // from tick 10 on, 90 beats a minute
  CRCPFile file(SongSettings{});
  ASSERT_TRUE(file.Load(dir.Write("song.rcp", song.Build())));
  const TempoMap& map = file.Tempos();
  ASSERT_TRUE(map.Usable());
  // 102 pauses of 10 ticks, then a quarter of 500 ms, stretched to the next bar of 3/4 (144
  // ticks): 1020 + 48 = 1068 ticks, up to 1152.
  EXPECT_EQ(map.SongStartTick(), 1152u);
  ASSERT_EQ(map.Segments().size(), 4u);
  EXPECT_EQ(map.Segments()[0].quarterUs, 500'000.0);
  EXPECT_EQ(map.Segments()[1].tick, 1020u);
  EXPECT_EQ(map.Segments()[1].timeUs, 10'625'000u) << "102 pauses at tempo 120";
  EXPECT_EQ(map.Segments()[1].quarterUs, 500'000.0 * 48 / 132) << "the last pause keeps its 500 ms";
  EXPECT_EQ(map.Segments()[2].tick, 1152u);
  EXPECT_EQ(map.Segments()[2].timeUs, file.SongStartTime());
  EXPECT_EQ(map.Segments()[3].tick, 1162u);
  EXPECT_EQ(map.Segments()[3].quarterUs, 60'000'000.0 / 90);
  ASSERT_EQ(map.Meters().size(), 1u);
  EXPECT_EQ(map.Meters()[0].numerator, 3);
  EXPECT_EQ(map.Meters()[0].denominatorPower, 2);
}

}  // namespace
}  // namespace velvasto
