#include "gui/view_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velvasto::gui {
namespace {

// Metrics of a fixed-pitch font `digit` pixels wide with line height `u`, and the widths of the
// labels and sample texts as the view's Arial fonts draw them (their sizes do not follow u).
ViewLayoutInput Input(int u, int digit, int mode, int port) {
  ViewLayoutInput input;
  input.metrics.lineHeight = u;
  for (std::size_t n = 0; n <= LayoutMetrics::kDigits; ++n) input.metrics.digits[n] = static_cast<int>(n) * digit;
  // Panel Monitor PORT A/B, Tempo, Play Time, Volume, Expression, Master, Timebase, List Count.
  input.widths.labels = {112, 112, 36, 52, 42, 62, 42, 52, 56};
  // 1024, 0000, 000, 000, Loop, Rand., New, and the port set's (unused).
  input.widths.statusSamples = {30, 30, 23, 23, 29, 34, 27, 0};
  input.monitorMode = mode;
  input.monitorPort = port;
  return input;
}

std::string Describe(const Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

TEST(ViewLayoutTest, MonitorModeAndPortDecideWhichWindowsShowAndWhere) {
  struct Case {
    int mode, port;
    bool rollAFirst, rollAShown, rollBShown, tempoAndTimeShown;
    const char* firstLabel;
  };
  const Case cases[] = {
      {0, 0, true, true, false, true, "Panel Monitor PORT A"},
      {0, 1, false, false, true, true, "Panel Monitor PORT B"},
      {1, 0, true, true, true, false, "Panel Monitor PORT A"},
      {1, 1, true, true, true, false, "Panel Monitor PORT A"},  // two panels: A above B whatever the port
  };
  const int u = 18;
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " port " + std::to_string(c.port));
    const ViewLayout layout = LayOutView(Input(u, 7, c.mode, c.port));
    const Placement& first = c.rollAFirst ? layout.rollA : layout.rollB;
    const Placement& second = c.rollAFirst ? layout.rollB : layout.rollA;
    // The first band's window in rows 3 to 7 under its label, the second band's in rows 9 to 13.
    EXPECT_EQ(first.rect.top, 3 * u);
    EXPECT_EQ(first.rect.bottom, 8 * u);
    EXPECT_EQ(second.rect.top, 9 * u);
    EXPECT_EQ(second.rect.bottom, 14 * u);
    EXPECT_EQ(layout.rollA.visible, c.rollAShown);
    EXPECT_EQ(layout.rollB.visible, c.rollBShown);
    EXPECT_EQ(layout.tempoMeter.visible, c.tempoAndTimeShown);
    EXPECT_EQ(layout.timeMeter.visible, c.tempoAndTimeShown);
    EXPECT_EQ(layout.Label(ViewLabel::Tempo).visible, c.tempoAndTimeShown);
    EXPECT_EQ(layout.Label(ViewLabel::PlayTime).visible, c.tempoAndTimeShown);
    EXPECT_EQ(layout.Label(ViewLabel::SecondPanel).visible, c.mode == 1);
    EXPECT_EQ(LabelText(ViewLabel::FirstPanel, c.mode, c.port), c.firstLabel);
  }
}

// Whatever the font, every window that shows and every label that is painted lies inside the
// view, nothing that shows overlaps anything else that shows, and the buttons' row is free.
TEST(ViewLayoutTest, NothingShownOverlapsAndEverythingFitsForEveryFontAndMode) {
  // Fixed-pitch fonts from 9 to 14 points, at 96 dots per inch and above.
  const std::pair<int, int> fonts[] = {{16, 8}, {18, 7}, {20, 8}, {23, 9}, {27, 11}};
  for (const auto& [u, digit] : fonts) {
    for (const int mode : {0, 1}) {
      for (const int port : {0, 1}) {
        SCOPED_TRACE("u " + std::to_string(u) + " digit " + std::to_string(digit) + " mode " + std::to_string(mode) +
                     " port " + std::to_string(port));
        const ViewLayoutInput input = Input(u, digit, mode, port);
        const ViewLayout layout = LayOutView(input);
        EXPECT_EQ(layout.client, (Rect{0, 0, 64 * digit, 16 * u}));

        std::vector<std::pair<std::string, Rect>> shown = {{"title", layout.titleArea}, {"slider", layout.slider}};
        const auto add = [&](const std::string& name, const Placement& placement) {
          if (placement.visible) shown.emplace_back(name, placement.rect);
        };
        add("roll A", layout.rollA);
        add("roll B", layout.rollB);
        add("volume", layout.volumeMeter);
        add("expression", layout.expressionMeter);
        add("master", layout.masterMeter);
        add("tempo", layout.tempoMeter);
        add("time", layout.timeMeter);
        add("map", layout.mapDisplay);
        for (std::size_t i = 0; i < kStatusDisplayCount; ++i)
          add("status " + std::to_string(i), layout.statusDisplays[i]);
        for (std::size_t i = 0; i < kViewLabelCount; ++i) add("label " + std::to_string(i), layout.labels[i]);
        for (std::size_t i = 0; i < kTransportButtonCount; ++i)
          shown.emplace_back("button " + std::to_string(i), layout.buttons[i]);

        for (std::size_t i = 0; i < shown.size(); ++i) {
          EXPECT_FALSE(shown[i].second.Empty()) << shown[i].first;
          EXPECT_TRUE(layout.client.Contains(shown[i].second)) << shown[i].first << " " << Describe(shown[i].second);
          for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i].second.Intersects(shown[j].second))
                << shown[i].first << " " << Describe(shown[i].second) << " and " << shown[j].first << " "
                << Describe(shown[j].second);
          }
        }
      }
    }
  }
}

TEST(ViewLayoutTest, SliderAndStatusDisplaysFollowTheirRules) {
  const int u = 20;
  ViewLayoutInput input = Input(u, 8, 0, 0);
  input.widths.labels[static_cast<std::size_t>(ViewLabel::TimeBase)] = 51;
  input.widths.statusSamples[static_cast<std::size_t>(StatusDisplay::TimeBase)] = 29;
  const ViewLayout layout = LayOutView(input);

  // The slider window is its column widened by a pixel on each side, rows 2 to 13.
  EXPECT_EQ(layout.slider.left, layout.sliderColumn.left - 1);
  EXPECT_EQ(layout.slider.right, layout.sliderColumn.right + 1);
  EXPECT_EQ(layout.slider.top, 2 * u);
  EXPECT_EQ(layout.slider.bottom, 13 * u);

  // A display starts 4 pixels right of its label, is as wide as its sample inside the window's
  // 3-pixel frame (border and sunken frame) on both sides, and as high as the label.
  const Rect& label = layout.Label(ViewLabel::TimeBase).rect;
  EXPECT_EQ(label.Width(), 51);
  EXPECT_EQ(layout.statusAnchors[static_cast<std::size_t>(StatusDisplay::TimeBase)], label);
  EXPECT_EQ(layout.Status(StatusDisplay::TimeBase).rect,
            (Rect{label.right + 4, label.top, label.right + 4 + 3 + 29 + 3, label.bottom}));
}

}  // namespace
}  // namespace velvasto::gui
