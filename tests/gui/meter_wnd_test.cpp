#include "gui/monitor/meter_wnd.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <memory>

#include "core/catalogue.h"
#include "gui/monitor/level_meter_wnd.h"
#include "gui/monitor/map_wnd.h"
#include "gui/monitor/master_vol_meter_wnd.h"
#include "gui/monitor/rol_meter_wnd.h"
#include "gui/monitor/status_wnd.h"
#include "gui/monitor/tempo_meter_wnd.h"
#include "gui/monitor/time_meter_wnd.h"
#include "panel_test_support.h"
#include "support/read_file.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui {
namespace {

using test::ColourDialogAnswer;
using test::RecordingReporter;

TEST(MeterWndTest, ColoursComeFromTheSettingsFileAndAChangedOneGoesBackWhenTheWindowGoes) {
  velvasto::test::SettingsFileScope settingsFile;
  settingsFile.Write("[Velvasto]\nVol For Color R=300\n");
  RecordingReporter reporter;
  auto meter = std::make_unique<CVolMeterWnd>(reporter, nullptr);
  EXPECT_EQ(meter->Colours().fore, (Rgb{44, 153, 215})) << "the low 8 bits of 300, the defaults for the rest";
  {
    ColourDialogAnswer answer(QColor(10, 20, 30));
    meter->RunCommand(meter_cmd::kBackColour);
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(answer.Opened(), QColor(0, 0, 0)) << "the dialog opens on the current colour";
  }
  EXPECT_EQ(meter->Colours().back, (Rgb{10, 20, 30}));
  EXPECT_EQ(meter->Colours().foreB, (Rgb{10, 20, 30})) << "a level meter's unlit colour follows its background";
  meter.reset();
  EXPECT_TRUE(reporter.shown.empty());
  const std::string file = velvasto::test::ReadWholeFile(settingsFile.Path());
  for (const char* line : {"Vol Back Color R=10\n", "Vol Back Color G=20\n", "Vol Back Color B=30\n",
                           "Vol For Color R=44\n", "Vol For-B Color B=30\n", "Vol Text Color G=255\n"}) {
    EXPECT_NE(file.find(line), std::string::npos) << line << file;
  }
  const CVolMeterWnd again(reporter, nullptr);
  EXPECT_EQ(again.Colours(), (MeterColours{{10, 20, 30}, {44, 153, 215}, {10, 20, 30}, {255, 255, 0}}));
}

TEST(MeterWndTest, ACancelledDialogAndAnotherWindowsCommandLeaveTheColoursAsTheyWere) {
  RecordingReporter reporter;
  CRolMeterAWnd roll(reporter, nullptr);
  {
    ColourDialogAnswer cancel(std::nullopt);
    roll.RunCommand(meter_cmd::kActiveDotColour);
    ASSERT_TRUE(cancel.Answered());
    EXPECT_EQ(cancel.Opened(), QColor(0, 255, 255));
  }
  ColourDialogAnswer none(QColor(1, 2, 3));
  roll.RunCommand(meter_cmd::kTrackColour);  // a level meter's command
  EXPECT_FALSE(none.Answered());
  EXPECT_EQ(roll.Colours(), DefaultColours(MeterKind::RollA));
}

TEST(MeterWndTest, RestoringDefaultsUndoesChosenColours) {
  RecordingReporter reporter;
  velvasto::test::SettingsFileScope settingsFile;
  settingsFile.Write("[Velvasto]\nRep Back Color R=200\nRep Text Color B=200\nRol For-B Color A G=9\n");
  CRepWnd repeat(reporter, nullptr);
  CRolMeterAWnd roll(reporter, nullptr);
  ASSERT_NE(repeat.Colours(), DefaultColours(MeterKind::Repeat));
  ASSERT_NE(roll.Colours(), DefaultColours(MeterKind::RollA));
  repeat.RunCommand(meter_cmd::kDefaultColours);
  roll.RunCommand(meter_cmd::kDefaultColours);
  EXPECT_EQ(repeat.Colours(), (MeterColours{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 255, 0}}));
  EXPECT_EQ(roll.Colours(), DefaultColours(MeterKind::RollA));
}

TEST(MeterWndTest, FailedSaveIsShownAndTheWindowStillGoes) {
  velvasto::test::SettingsFileScope settingsFile;
  // The settings folder is a file: nothing can be written below it.
  const auto blocker = settingsFile.Dir().Write("blocker", "");
  CINIFile::SetSettingsPath(blocker / "velvasto.ini");
  RecordingReporter reporter;
  const std::string failed(CatalogueText(62012));
  std::make_unique<CLoopWnd>(reporter, nullptr).reset();
  EXPECT_EQ(reporter.shown, std::vector<std::string>{failed});
  reporter.shown.clear();
  // The map display writes its three models' colours, then its own: each failure is shown.
  std::make_unique<CMapWnd>(reporter, nullptr).reset();
  EXPECT_EQ(reporter.shown, (std::vector<std::string>{failed, failed}));
}

template <typename Window>
std::unique_ptr<CMeterWnd> Make(ErrorReporter& reporter) {
  return std::make_unique<Window>(reporter, nullptr);
}

TEST(MeterWndTest, PopupMenusHoldTheirWindowsItemsInOrder) {
  RecordingReporter reporter;
  using Items = std::vector<PopupItem>;
  const Items common = {{32801, "バックグランド色の変更"}, {32800, "テキスト色の変更"}, {32802, "色を既定色に戻す"}};
  const auto with = [&](Items own) {
    own.insert(own.end(), common.begin(), common.end());
    return own;
  };
  const Items roll = with({{32796, "ドットアクティブ色の変更"}, {32797, "ドット非アクティブ色の変更"}});
  const Items level = with({{32798, "トラック色の変更"}});
  const Items tempo = with({{32798, "トラックアクティブ色の変更"}, {32799, "トラック非アクティブ色の変更"}});
  const Items time = with({{32798, "トラックアクティブ色の変更"}});
  const Items map = {
      {32801, "MAP補正無しバックグランド色の変更"},
      {32800, "MAP補正無しテキスト色の変更"},
      {32803, "SC-55 MAP補正バックグランド色の変更"},
      {32806, "SC-55 MAP補正テキスト色の変更"},
      {32804, "SC-88 MAP補正バックグランド色の変更"},
      {32807, "SC-88 MAP補正テキスト色の変更"},
      {32805, "SC-88Pro MAP補正バックグランド色の変更"},
      {32808, "SC-88Pro MAP補正テキスト色の変更"},
      {32802, "色を既定色に戻す"},
  };
  const std::pair<std::unique_ptr<CMeterWnd>, Items> cases[] = {
      {Make<CRolMeterAWnd>(reporter), roll},       {Make<CRolMeterBWnd>(reporter), roll},
      {Make<CVolMeterWnd>(reporter), level},       {Make<CExpMeterWnd>(reporter), level},
      {Make<CMasterVolMeterWnd>(reporter), level}, {Make<CTempoMeterWnd>(reporter), tempo},
      {Make<CTimeMeterWnd>(reporter), time},       {Make<CFileCountWnd>(reporter), common},
      {Make<CTimebaseWnd>(reporter), common},      {Make<CVolSetWnd>(reporter), common},
      {Make<CMonPortWnd>(reporter), common},       {Make<CLoopWnd>(reporter), common},
      {Make<CRepWnd>(reporter), common},           {Make<CDDModeWnd>(reporter), common},
      {Make<CSelectPortWnd>(reporter), common},    {Make<CMapWnd>(reporter), map},
  };
  for (const auto& [window, items] : cases) {
    const int kind = static_cast<int>(window->Kind());
    const Items actual = window->MenuItems();
    ASSERT_EQ(actual.size(), items.size()) << kind;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(actual[i].id, items[i].id) << kind << " " << i;
      EXPECT_EQ(actual[i].text, items[i].text) << kind << " " << i;
    }
  }
}

TEST(MeterWndTest, RightButtonReleaseRunsTheChosenItem) {
  RecordingReporter reporter;
  CVolMeterWnd meter(reporter, nullptr);
  meter.resize(120, 80);
  meter.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
  QStringList shown;
  // The menu opens on the release; choose its text colour item, then answer the dialog.
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) shown << action->text();
    menu->setActiveAction(menu->actions().at(2));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  ColourDialogAnswer answer(QColor(200, 100, 50));
  QTest::mouseRelease(&meter, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_EQ(shown, (QStringList{"トラック色の変更", "バックグランド色の変更", "テキスト色の変更", "色を既定色に戻す"}));
  EXPECT_TRUE(answer.Answered());
  EXPECT_EQ(meter.Colours().text, (Rgb{200, 100, 50}));
}

TEST(MeterWndTest, SunkenFrameIsPaintedInTheDesktopsThreeDimensionalColours) {
  RecordingReporter reporter;
  CTimebaseWnd display(reporter, nullptr);
  QPalette palette = display.palette();
  palette.setColor(QPalette::Shadow, QColor(200, 0, 0));
  palette.setColor(QPalette::Light, QColor(0, 200, 0));
  palette.setColor(QPalette::Midlight, QColor(0, 0, 200));
  display.setPalette(palette);
  display.resize(40, 30);
  const QImage image = test::Render(display);
  // The client is 38 × 28 inside the one-pixel border; the frame's last pixels are at 37 and 27.
  struct Case {
    int x, y;
    QColor colour;
  };
  const Case cases[] = {
      {-1, -1, QColor(200, 0, 0)},  // the border
      {0, 0, QColor(200, 0, 0)},   {37, 0, QColor(200, 0, 0)}, {0, 26, QColor(200, 0, 0)},  {1, 1, QColor(200, 0, 0)},
      {36, 1, QColor(200, 0, 0)},  {1, 25, QColor(200, 0, 0)}, {0, 27, QColor(0, 200, 0)},  {37, 27, QColor(0, 200, 0)},
      {37, 1, QColor(0, 200, 0)},  {1, 26, QColor(0, 0, 200)}, {36, 26, QColor(0, 0, 200)}, {36, 2, QColor(0, 0, 200)},
      {2, 2, QColor(0, 0, 0)},     {35, 25, QColor(0, 0, 0)},  // the interior, black
  };
  for (const Case& c : cases) EXPECT_EQ(test::ClientPixel(image, c.x, c.y), c.colour) << c.x << "," << c.y;
}

}  // namespace
}  // namespace velvasto::gui
