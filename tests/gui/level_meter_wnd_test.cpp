#include "gui/monitor/level_meter_wnd.h"

#include <gtest/gtest.h>

#include "gui/monitor/master_vol_meter_wnd.h"
#include "panel_test_support.h"

namespace velvasto::gui {
namespace {

using test::ClientPixel;
using test::RecordingReporter;
using test::Render;

// A client of 190 × 100: cells of 10 × 5 with margins 5 and 2, so channel k's bar spans x from
// 5 + 10k to 12 + 10k and y from 7 to 86 (80 rows).
constexpr int kBarTop = 7;
constexpr int kBarBottom = 87;
int BarX(int channel) { return 5 + 10 * channel + 4; }

TEST(LevelMeterWndTest, BarsOfTheMonitoredPortAreLitUpToTheirValues) {
  RecordingReporter reporter;
  CExpMeterWnd meter(reporter, nullptr);
  meter.resize(192, 102);
  ASSERT_EQ(meter.ChannelBar(3), (Rect{35, kBarTop, 43, kBarBottom}));
  meter.ResetForPlay();
  meter.Take(0, 0, 127);
  meter.Take(0, 1, 0);
  meter.Take(0, 2, 64);
  meter.Take(0, 3, 200);  // drawn as 127
  meter.Take(0, 16, 0);   // no such channel
  meter.Take(2, 4, 0);    // no such port
  meter.Take(1, 4, 10);   // the other port
  const QColor fore = test::ToColour(meter.Colours().fore);
  const QColor back = test::ToColour(meter.Colours().back);
  const QImage image = Render(meter);
  struct Case {
    int channel;  // 1..16
    int litFrom;  // the first lit row; rows above it are unlit
  };
  const Case cases[] = {
      {1, kBarTop},     // 127: lit to the top
      {2, kBarBottom},  // 0: nothing lit, the bottom row unlit
      {3, 48},          // 64: 40 rows, the unlit part covering the top one of them (47)
      {4, kBarTop},     // 200
      {5, 26},          // 100 after the reset: 62 rows, 25 covered
      {16, 26},
  };
  for (const Case& c : cases) {
    const int x = BarX(c.channel);
    if (c.litFrom > kBarTop) {
      EXPECT_EQ(ClientPixel(image, x, c.litFrom - 1), back) << c.channel;
    }
    if (c.litFrom < kBarBottom) {
      EXPECT_EQ(ClientPixel(image, x, c.litFrom), fore) << c.channel;
      EXPECT_EQ(ClientPixel(image, x, kBarBottom - 1), fore) << c.channel;
    } else {
      EXPECT_EQ(ClientPixel(image, x, kBarBottom - 1), back) << c.channel;
    }
    // The gap between bars and the bar's own edge columns stay background.
    EXPECT_EQ(ClientPixel(image, 5 + 10 * c.channel, kBarBottom - 1), back) << c.channel;
    EXPECT_EQ(ClientPixel(image, 5 + 10 * c.channel + 7, kBarBottom - 1), back) << c.channel;
  }
  // The other port's levels show once it is monitored: 10 lights 6 rows, the top one covered.
  meter.SetMonitoredPort(1);
  const QImage other = Render(meter);
  EXPECT_EQ(ClientPixel(other, BarX(5), 82), fore);
  EXPECT_EQ(ClientPixel(other, BarX(5), 81), back);
  EXPECT_EQ(ClientPixel(other, BarX(1), 26), fore) << "port B still at 100";
  EXPECT_EQ(ClientPixel(other, BarX(1), 25), back);
}

TEST(LevelMeterWndTest, MasterBarFollowsTheMonitoredPortsValue) {
  RecordingReporter reporter;
  CMasterVolMeterWnd meter(reporter, nullptr);
  meter.resize(62, 102);
  const Rect bar = meter.Bar();
  ASSERT_EQ(bar.left, 20);
  ASSERT_EQ(bar.right, 40);
  ASSERT_GT(bar.Height(), 20);
  const QColor fore = test::ToColour(meter.Colours().fore);
  const QColor back = test::ToColour(meter.Colours().back);
  const int x = 30;
  // The first lit row of a bar not full: the unlit fill covers the top row of the lit part.
  const auto litFrom = [&](int value) { return bar.bottom - bar.Height() * value / 127 + 1; };

  meter.ResetForPlay();
  QImage image = Render(meter);
  EXPECT_EQ(ClientPixel(image, x, bar.top), fore) << "127 after a reset: full";
  EXPECT_EQ(ClientPixel(image, bar.left, bar.top), back) << "the bar's left column stays background";

  meter.Take(0, 64);
  meter.Take(1, 20);
  image = Render(meter);
  EXPECT_EQ(ClientPixel(image, x, litFrom(64)), fore);
  EXPECT_EQ(ClientPixel(image, x, litFrom(64) - 1), back);

  meter.SetMonitoredPort(1);
  image = Render(meter);
  EXPECT_EQ(ClientPixel(image, x, litFrom(20)), fore);
  EXPECT_EQ(ClientPixel(image, x, litFrom(20) - 1), back);

  meter.Clear();
  image = Render(meter);
  EXPECT_EQ(ClientPixel(image, x, bar.bottom - 1), back) << "0 after a stop: empty";
  EXPECT_EQ(meter.Value(0), 0u);
}

}  // namespace
}  // namespace velvasto::gui
