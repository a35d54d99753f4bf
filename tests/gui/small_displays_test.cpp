// The map display, the status displays and the tempo meter as they paint.

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "gui/monitor/map_wnd.h"
#include "gui/monitor/status_wnd.h"
#include "gui/monitor/tempo_meter_wnd.h"
#include "panel_test_support.h"
#include "support/read_file.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui {
namespace {

using test::ClientPixel;
using test::ColourDialogAnswer;
using test::RecordingReporter;
using test::Render;

TEST(MapWndTest, EachStateShowsItsLabelOnItsOwnBackground) {
  RecordingReporter reporter;
  CMapWnd map(reporter, nullptr);
  map.resize(162, 22);  // client 160 × 20
  const QFontMetrics metrics(MeterMediumFont());
  struct Case {
    int state;
    QColor back;  // with no settings file
  };
  const Case cases[] = {{0, QColor(0, 0, 0)}, {1, QColor(255, 0, 0)}, {2, QColor(0, 128, 0)}, {3, QColor(0, 0, 255)}};
  for (const Case& c : cases) {
    map.SetMap(c.state);
    const QImage image = Render(map);
    const int labelLeft = (160 - metrics.horizontalAdvance(CMapWnd::Label(c.state))) / 2;
    // Inside the label's leading blanks: the state's background; left of the label: the window's.
    EXPECT_EQ(ClientPixel(image, labelLeft + 3, 6), c.back) << c.state;
    EXPECT_EQ(ClientPixel(image, labelLeft - 3, 6), QColor(0, 0, 0)) << c.state;
  }
  EXPECT_EQ(map.StateColours(1), (CMapWnd::Pair{{255, 0, 0}, {255, 255, 255}}));
  // A state that does not exist shows nothing but the window's background.
  map.SetMap(4);
  const QImage empty = Render(map);
  for (int x = 2; x < 158; x += 7) EXPECT_EQ(ClientPixel(empty, x, 6), QColor(0, 0, 0)) << x;
}

TEST(MapWndTest, ModelColoursPersistAndRestoringDefaultsLeavesThem) {
  velvasto::test::SettingsFileScope settingsFile;
  settingsFile.Write("[Velvasto]\n88Pro Map Text Color G=300\nMap Back Color B=99\n");
  RecordingReporter reporter;
  auto map = std::make_unique<CMapWnd>(reporter, nullptr);
  EXPECT_EQ(map->StateColours(3), (CMapWnd::Pair{{0, 0, 255}, {255, 44, 255}}));
  {
    ColourDialogAnswer answer(QColor(1, 2, 3));
    map->RunCommand(map_cmd::kSc88Back);
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(answer.Opened(), QColor(0, 128, 0));
  }
  map->RunCommand(meter_cmd::kDefaultColours);
  EXPECT_EQ(map->StateColours(0), (CMapWnd::Pair{{0, 0, 0}, {0, 255, 0}})) << "the state without a map: defaults";
  EXPECT_EQ(map->StateColours(2).back, (Rgb{1, 2, 3})) << "the models keep theirs";
  map.reset();
  const std::string file = velvasto::test::ReadWholeFile(settingsFile.Path());
  for (const char* line : {"88 Map Back Color R=1\n", "88 Map Back Color B=3\n", "88Pro Map Text Color G=44\n",
                           "55 Map Back Color R=255\n", "\nMap Back Color B=0\n"}) {
    EXPECT_NE(file.find(line), std::string::npos) << line << file;
  }
  const CMapWnd again(reporter, nullptr);
  EXPECT_EQ(again.StateColours(2), (CMapWnd::Pair{{1, 2, 3}, {255, 255, 255}}));
}

// The greenest pixel of a rendered window's interior.
int Greenest(const QImage& image) {
  int greenest = 0;
  for (int y = 3; y < image.height() - 3; ++y) {
    for (int x = 3; x < image.width() - 3; ++x) greenest = std::max(greenest, image.pixelColor(x, y).green());
  }
  return greenest;
}

TEST(StatusWndTest, LoopDisplayIsDimmedWhileSingleRepeatIsOff) {
  RecordingReporter reporter;
  CLoopWnd loop(reporter, nullptr);
  loop.resize(50, 20);
  EXPECT_EQ(loop.Text(), "Loop");
  EXPECT_EQ(Greenest(Render(loop)), 172) << "green dimmed by a third of its luminance";
  loop.SetOn(true);
  EXPECT_EQ(Greenest(Render(loop)), 255);
}

TEST(TempoMeterWndTest, BarShowsTheTempoOnItsScale) {
  RecordingReporter reporter;
  CTempoMeterWnd tempo(reporter, nullptr);
  tempo.resize(182, 32);
  EXPECT_EQ(tempo.Tempo(), 120u);
  const Rect track = tempo.Layout().track;
  ASSERT_GT(track.Width(), 60);
  const int y = (track.top + track.bottom) / 2;
  const QColor fore = test::ToColour(tempo.Colours().fore);
  const QColor unlit = test::ToColour(tempo.Colours().foreB);
  struct Case {
    std::uint32_t tempo;
    int litTo;  // one past the last lit column
  };
  const Case cases[] = {
      {150, track.left + track.Width() / 2},
      {60, track.left + track.Width() / 5},
      {400, track.right},  // beyond the scale: full
  };
  for (const Case& c : cases) {
    tempo.SetTempo(c.tempo);
    const QImage image = Render(tempo);
    EXPECT_EQ(ClientPixel(image, c.litTo - 1, y), fore) << c.tempo;
    if (c.litTo < track.right) {
      EXPECT_EQ(ClientPixel(image, c.litTo + 1, y), unlit) << c.tempo;
    }
  }
}

}  // namespace
}  // namespace velvasto::gui
