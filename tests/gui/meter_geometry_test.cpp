#include "gui/monitor/meter_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velvasto::gui {
namespace {

TEST(MeterGeometryTest, ChannelBarsShareTheGridWithItsMarginsCentred) {
  struct Case {
    Rect client;
    int channel;
    Rect bar;
  };
  const Case cases[] = {
      // 190 / 18 = 10 wide, margin 5; 100 / 19 = 5 high, margin 2.
      {{0, 0, 190, 100}, 1, {15, 7, 23, 87}},
      {{0, 0, 190, 100}, 16, {165, 7, 173, 87}},
      // Exact multiples: no margins.
      {{0, 0, 180, 95}, 1, {10, 5, 18, 85}},
      // The client need not start at the origin.
      {{4, 6, 184, 101}, 2, {24, 11, 32, 91}},
      // Too small for a cell: every bar collapses onto the origin.
      {{0, 0, 17, 18}, 5, {8, 9, 6, 9}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChannelGrid(c.client).ChannelBar(c.channel), c.bar) << c.client.right << " " << c.channel;
  }
}

TEST(MeterGeometryTest, DotsAreTheirCellsLessOnePixelCountedFromTheBottom) {
  const ChannelGrid grid({0, 0, 190, 100});  // cells 10 × 5, margins 5 and 2
  struct Case {
    int column, row;
    Rect dot;
  };
  const Case cases[] = {
      {0, 1, {16, 83, 24, 86}},     // channel 1, bottom row: grid row 16
      {0, 16, {16, 8, 24, 11}},     // channel 1, top row: grid row 1
      {15, 1, {166, 83, 174, 86}},  // channel 16
  };
  for (const Case& c : cases) EXPECT_EQ(grid.Dot(c.column, c.row), c.dot) << c.column << " " << c.row;
  EXPECT_EQ(grid.DotColumn(15), (Rect{165, 7, 175, 87}));
}

// Channel numbers 1 to 16 one digit wide up to 9 and two from 10 on, under columns `step`
// pixels apart: which of them can be drawn, as a string of 1s and 0s.
std::string NumbersShown(int step, int digit) {
  std::vector<int> centres;
  std::vector<int> widths;
  for (int k = 1; k <= 16; ++k) {
    centres.push_back(10 + k * step);
    widths.push_back(k < 10 ? digit : 2 * digit);
  }
  std::string shown;
  for (const bool drawn : LabelsThatFit(centres, widths)) shown += drawn ? '1' : '0';
  return shown;
}

TEST(MeterGeometryTest, ChannelNumbersThatWouldRunIntoTheOneBeforeAreLeftOut) {
  struct Case {
    int step, digit;
    const char* shown;  // channels 1 to 16
  };
  const Case cases[] = {
      {9, 4, "1111111111111111"},  // wide columns: every number
      {7, 3, "1111111111111111"},  // 7 apart, two digits 6 wide: a pixel clear
      {6, 3, "1111111111010101"},  // 10 keeps its pixel from 9; from then on every other one
      {5, 4, "1111111110101010"},  // 10 would touch 9
      {3, 3, "1010101010100100"},  // even single digits run into each other
  };
  for (const Case& c : cases) EXPECT_EQ(NumbersShown(c.step, c.digit), c.shown) << c.step << " " << c.digit;
}

TEST(MeterGeometryTest, ScaleMarksStandAtTheirLevelsOfTheBar) {
  struct Case {
    Rect bar;
    ScaleMarks marks;
  };
  const Case cases[] = {
      {{15, 7, 23, 87}, {4, 21, 52, 84}},    // 80 high: 100 stands 17 below the top, 50 stands 48 below
      {{10, 5, 18, 132}, {2, 29, 79, 129}},  // 127 high: the levels themselves
  };
  for (const Case& c : cases) {
    const ScaleMarks marks = ScaleMarksFor(c.bar);
    EXPECT_EQ(marks.y127, c.marks.y127);
    EXPECT_EQ(marks.y100, c.marks.y100);
    EXPECT_EQ(marks.y50, c.marks.y50);
    EXPECT_EQ(marks.y0, c.marks.y0);
  }
}

TEST(MeterGeometryTest, MasterBarTakesTheMiddleThirdAndLeavesALineBelowInsideTheFrame) {
  struct Case {
    Rect client;
    int textHeight;
    Rect bar;
  };
  const Case cases[] = {
      {{0, 0, 60, 100}, 14, {20, 7, 40, 83}},  // the line ends at 98, where the frame begins
      {{0, 0, 61, 95}, 10, {20, 5, 41, 82}},
  };
  for (const Case& c : cases) {
    const Rect bar = MasterBar(c.client, c.textHeight);
    EXPECT_EQ(bar, c.bar) << c.client.right;
    const Rect box = MasterValueBox(bar, 12, c.textHeight);
    EXPECT_EQ(box.top, bar.bottom + 1);
    EXPECT_EQ(box.bottom, c.client.bottom - 2) << "the value's last row is the interior's last";
    EXPECT_EQ((bar.right - box.right) - (box.left - bar.left), (bar.Width() - 12) % 2) << "centred under the bar";
  }
}

TEST(MeterGeometryTest, SunkenFrameDarkOnTheTopLeftAndLightOnTheBottomRight) {
  // Paints the strokes of a 7 × 6 frame into characters: S dark shadow, H highlight, L light,
  // . interior.
  const Rect frame{0, 0, 6, 5};
  std::vector<std::string> picture(6, std::string(7, ' '));
  const Rect interior = SunkenFrameInterior(frame);
  for (int y = interior.top; y < interior.bottom; ++y) {
    for (int x = interior.left; x < interior.right; ++x) picture[y][x] = '.';
  }
  for (const FrameStroke& stroke : SunkenFrameStrokes(frame)) {
    const char pen = stroke.pen == FramePen::DarkShadow ? 'S' : stroke.pen == FramePen::Highlight ? 'H' : 'L';
    for (int y = stroke.area.top; y < stroke.area.bottom; ++y) {
      for (int x = stroke.area.left; x < stroke.area.right; ++x) picture[y][x] = pen;
    }
  }
  const std::vector<std::string> expected = {
      "SSSSSSS",  //
      "SSSSSSH",  //
      "SS...LH",  //
      "SS...LH",  //
      "SLLLLLH",  //
      "HHHHHHH",  //
  };
  EXPECT_EQ(picture, expected);
}

TEST(MeterGeometryTest, TrackPositionsAreWholeSecondsOfTheSong) {
  const Rect track{10, 0, 110, 6};  // 100 pixels
  struct Case {
    int x;
    std::uint32_t length;
    std::uint32_t seconds;
  };
  const Case cases[] = {
      {10, 300, 0},     // the start
      {110, 300, 300},  // the end
      {60, 300, 150},   // the middle
      {11, 300, 3},     // one pixel is three seconds
      {-50, 300, 0},    // before the track
      {500, 300, 300},  // beyond it
      {60, 1, 1},       // half a second rounds up
      {59, 1, 0},
      {60, 0, 0},                      // nothing to seek in
      {60, 0xFFFFFFFFu, 0x80000000u},  // no overflow on a long length
  };
  for (const Case& c : cases) EXPECT_EQ(SecondsAt(track, c.x, c.length), c.seconds) << c.x << " " << c.length;
  EXPECT_EQ(SecondsAt({5, 0, 5, 6}, 5, 100), 0u) << "a track of no width";
}

TEST(MeterGeometryTest, TrackMeterPutsTheTextBeforeTheTrackInsideTheFrame) {
  for (const Rect client : {Rect{0, 0, 200, 40}, Rect{0, 0, 90, 21}}) {
    const TrackMeterLayout layout = TrackMeterLayoutFor(client, 30, 16);
    const Rect interior{2, 2, client.right - 2, client.bottom - 2};
    EXPECT_GE(layout.text.left, interior.left);
    EXPECT_LT(layout.text.right, layout.track.left);
    EXPECT_LE(layout.track.right, interior.right);
    EXPECT_GE(layout.track.top, interior.top);
    EXPECT_LE(layout.track.bottom, interior.bottom);
    EXPECT_GE(layout.track.Height(), 5);
    EXPECT_EQ(layout.text.top + layout.text.bottom - layout.text.Height() % 2,
              layout.track.top + layout.track.bottom - layout.track.Height() % 2)
        << "centred on one line";
  }
}

}  // namespace
}  // namespace velvasto::gui
