#include "gui/monitor/roll_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace velvasto::gui {
namespace {

TEST(RollModelTest, LevelsBecomeLitRowsAndPeaksBecomeAPeakRow) {
  struct Case {
    std::uint32_t value;
    int litRows;
    int peakRow;
  };
  const Case cases[] = {
      {0, 0, 0},    {1, 1, 2},     {9, 1, 2},     {10, 2, 2},    {18, 2, 2},    {19, 3, 3},
      {36, 4, 3},   {37, 5, 4},    {108, 12, 7},  {109, 13, 8},  {117, 13, 8},  {118, 14, 8},
      {127, 14, 9}, {216, 14, 13}, {217, 14, 14}, {234, 14, 14}, {235, 14, 16}, {254, 14, 16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LitRows(c.value), c.litRows) << c.value;
    EXPECT_EQ(PeakRow(c.value), c.peakRow) << c.value;
  }
}

TEST(RollModelTest, NoteLevelWeighsTheVelocityByVolumeExpressionAndMaster) {
  struct Case {
    std::uint32_t velocity, volume, expression, master;
    std::uint32_t level;
  };
  const Case cases[] = {
      {127, 127, 127, 127, 127}, {127, 100, 100, 127, 78},                         // the values after a reset
      {64, 127, 127, 127, 64},   {127, 127, 127, 0, 0},    {1, 127, 127, 126, 0},  // truncated
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NoteLevel(c.velocity, c.volume, c.expression, c.master), c.level)
        << c.velocity << " " << c.volume << " " << c.expression << " " << c.master;
  }
  EXPECT_EQ(Aged(254), 240u);
  EXPECT_EQ(Aged(14), 0u);
  EXPECT_EQ(Aged(13), 0u);
}

TEST(RollModelTest, OnlyColumnsWhoseRowsChangedAreRepainted) {
  RollModel model;
  model.NoteOn(0, 100);
  model.NoteOn(5, 100);
  EXPECT_EQ(model.ApplyBatch(), 0b100001);
  // A note on channel 0 again at the same level changes nothing on screen.
  model.NoteOff(0);
  model.NoteOn(0, 100);
  EXPECT_EQ(model.ApplyBatch(), 0);
  // A tick ages: level 62 → 48 changes the lit rows of both columns (7 → 6).
  EXPECT_EQ(model.Tick(), 0b100001);
}

TEST(RollModelTest, LoudestNoteOfABatchCountsAndTheBarDropsWhenTheLastNoteEnds) {
  RollModel model;
  for (int channel = 0; channel < 16; ++channel) {
    model.SetVolume(channel, 127);
    model.SetExpression(channel, 127);
  }
  model.NoteOn(4, 60);
  model.NoteOn(4, 90);
  model.NoteOn(4, 70);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(4), 90u);
  EXPECT_EQ(model.Peak(4), 180u);
  // One of three notes ends: the bar stays where it is.
  model.NoteOff(4);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(4), 90u);
  model.NoteOff(4);
  model.NoteOff(4);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(4), 0u) << "the last note's end drops the bar at once";
  EXPECT_EQ(model.Peak(4), 180u) << "the peak dot stays";
  model.Tick();
  EXPECT_EQ(model.Peak(4), 166u) << "and falls by 14 a tick";
  // A note off with nothing sounding changes nothing.
  model.NoteOff(4);
  model.ApplyBatch();
  EXPECT_EQ(model.Peak(4), 166u);
}

TEST(RollModelTest, NoteStartedAndEndedInOneBatchLeavesOnlyItsPeak) {
  RollModel model;
  model.NoteOn(1, 127);
  model.NoteOff(1);
  // An earlier note's end within a batch that also starts a new one: the new note shows.
  model.NoteOn(3, 127);
  model.ApplyBatch();
  model.NoteOff(3);
  model.NoteOn(3, 127);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(1), 0u);
  EXPECT_EQ(model.Peak(1), 156u);  // 2 × 78 at the volumes of a reset
  EXPECT_EQ(model.Level(3), 78u);
}

TEST(RollModelTest, TicksBetweenAnEntryAndTheEndOfItsBatchDoNothing) {
  RollModel model;
  model.NoteOn(0, 127);
  model.ApplyBatch();
  model.NoteOn(1, 10);
  EXPECT_EQ(model.Tick(), 0);
  EXPECT_EQ(model.Level(0), 78u);
  model.ApplyBatch();
  model.Tick();
  EXPECT_EQ(model.Level(0), 64u);
}

TEST(RollModelTest, ResetBringsBackTheStartingVolumesAndDropsThePicture) {
  RollModel model;
  model.SetVolume(0, 127);
  model.SetExpression(0, 127);
  model.SetMaster(10);
  model.NoteOn(0, 127);
  const std::array<std::uint8_t, 64> dots{0x1F};
  model.GsDisplay(dots);
  model.ApplyBatch();
  model.Reset();
  EXPECT_FALSE(model.ShowingBitmap());
  EXPECT_EQ(model.Level(0), 0u);
  model.NoteOn(0, 127);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(0), 78u) << "volume and expression 100, master 127 again";
  model.NoteOff(0);
  model.NoteOff(0);
  model.ApplyBatch();
  EXPECT_EQ(model.Level(0), 0u) << "nothing held over from before the reset";
}

TEST(RollModelTest, GsDotsFillColumnsRightToLeftInBlocksOfFiveRows) {
  std::array<std::uint8_t, 64> data{};
  data[0] = 0x10;   // block 0, column 15, bit 4: row 0
  data[1] = 0x01;   // block 0, column 14, bit 0: row 4
  data[17] = 0x04;  // block 1, column 14, bit 2: row 7
  data[32] = 0x1F;  // block 2, column 15: rows 10 to 14
  data[63] = 0x1F;  // block 3, column 0: only bit 4 counts, row 15
  const DotBitmap dots = GsDots(data);
  const DotBitmap expected = {
      1u << 15, 0,        0,        0,        1u << 14,  // rows 0..4
      0,        0,        1u << 14, 0,        0,         // rows 5..9
      1u << 15, 1u << 15, 1u << 15, 1u << 15, 1u << 15,  // rows 10..14
      1u << 0,                                           // row 15
  };
  EXPECT_EQ(dots, expected);
}

TEST(RollModelTest, XgBitmapFillsColumnsLeftToRightInBlocksOfSevenRows) {
  std::array<std::uint8_t, 48> data{};
  data[0] = 0x40;   // block 0, column 0, bit 6: row 0
  data[15] = 0x01;  // column 15, bit 0: row 6
  data[18] = 0x20;  // block 1, column 2, bit 5: row 8
  data[33] = 0x7F;  // block 2, column 1: rows 14 and 15 kept, 16 to 20 dropped
  const DotBitmap dots = XgDots(data);
  DotBitmap expected{};
  expected[0] = 1u << 0;
  expected[6] = 1u << 15;
  expected[8] = 1u << 2;
  expected[14] = 1u << 1;
  expected[15] = 1u << 1;
  EXPECT_EQ(dots, expected);
}

TEST(RollModelTest, PictureHoldsForThirtyTicksThenEveryBarIsRepainted) {
  RollModel model;
  model.NoteOn(9, 127);
  model.ApplyBatch();
  std::array<std::uint8_t, 16> row{};
  row[3] = 0x40;  // column 3 of the top row
  model.XgBitmap(0, row);
  EXPECT_EQ(model.ApplyBatch(), RollModel::kAllColumns);
  EXPECT_TRUE(model.ShowingBitmap());
  EXPECT_TRUE(model.Lit(3, 16));
  EXPECT_FALSE(model.Lit(9, 1)) << "the bars are hidden";
  for (int tick = 1; tick < RollModel::kBitmapHoldTicks; ++tick) {
    ASSERT_EQ(model.Tick(), 0) << tick;
    ASSERT_TRUE(model.ShowingBitmap()) << tick;
  }
  EXPECT_EQ(model.Tick(), RollModel::kAllColumns);
  EXPECT_FALSE(model.ShowingBitmap());
  EXPECT_FALSE(model.Lit(3, 16));
}

TEST(RollModelTest, XgBitmapWritesFromItsAddressAndKeepsTheRest) {
  RollModel model;
  std::array<std::uint8_t, 16> first{};
  first[0] = 0x40;
  model.XgBitmap(0, first);
  // A second message for the middle block only; what lies beyond 48 bytes is cut.
  std::vector<std::uint8_t> middle(40, 0);
  middle[1] = 0x40;
  model.XgBitmap(16, middle);
  EXPECT_TRUE(model.Lit(0, 16)) << "the first block stays";
  EXPECT_TRUE(model.Lit(1, 16 - 7));
  model.XgBitmap(48, first);  // beyond the bitmap: nothing written
  EXPECT_TRUE(model.Lit(1, 16 - 7));
  EXPECT_FALSE(model.Lit(0, 16 - 7));
}

}  // namespace
}  // namespace velvasto::gui
