#include <gtest/gtest.h>

#include "gui/monitor/display_texts.h"
#include "gui/monitor/luma.h"

namespace velvasto::gui {
namespace {

TEST(LumaTest, LuminanceMovesWhileHueAndSaturationStay) {
  struct Case {
    Rgb colour;
    int thousandths;
    Rgb expected;
  };
  const Case cases[] = {
      {{0, 255, 0}, -330, {0, 172, 0}},          // the loop display's green, dimmed
      {{255, 255, 0}, -330, {172, 172, 0}},      // a hue between two channels keeps its mix
      {{255, 255, 255}, -330, {171, 171, 171}},  // white becomes grey
      {{0, 0, 0}, -330, {0, 0, 0}},
      {{0, 0, 0}, 500, {127, 127, 127}},  // halfway to white
      {{12, 34, 56}, 0, {12, 34, 56}},    // no change at all
      {{0, 255, 0}, -1000, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdjustLuma(c.colour, c.thousandths), c.expected)
        << int(c.colour.r) << "," << int(c.colour.g) << "," << int(c.colour.b) << " by " << c.thousandths;
  }
}

// The status displays' texts are driven through the window in PanelInViewTest.
TEST(DisplayTextsTest, PlayTimeReadsAsTheTimeMeterShowsIt) {
  EXPECT_EQ(PlayTimeText(0), "00:00");
  EXPECT_EQ(PlayTimeText(59), "00:59");
  EXPECT_EQ(PlayTimeText(61), "01:01");
  EXPECT_EQ(PlayTimeText(3599), "59:59");
  EXPECT_EQ(PlayTimeText(6000), "100:00");
}

}  // namespace
}  // namespace velvasto::gui
