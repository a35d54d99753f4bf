#include "gui/monitor/vol_slider.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "gui/monitor/popup_menu.h"
#include "gui/qt_text.h"
#include "panel_test_support.h"
#include "support/read_file.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui {
namespace {

constexpr int kWaitMs = 10000;

// Runs `act` on the widget that `find` gives as soon as there is one (a popup menu or a modal
// dialog spins its own event loop, so the test acts from a timer). A widget that never comes is
// a failure, not a hang: whatever popup or dialog is open then is closed.
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [=] {
    if (QWidget* widget = find()) {
      timer->deleteLater();
      act(widget);
      return;
    }
    *waited += timer->interval();
    if (*waited < kWaitMs) return;
    timer->deleteLater();
    ADD_FAILURE() << "the expected window did not open";
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  timer->start(10);
}

struct MenuEntry {
  int id;
  std::string text;
  bool operator==(const MenuEntry&) const = default;
};

// Right-clicks the slider and picks `id` in its popup menu (nothing: Escape); gives the menu's
// entries as it showed them.
std::vector<MenuEntry> PickInPopup(CVolSlider& slider, std::optional<int> id) {
  std::vector<MenuEntry> shown;
  WhenShown([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
            [&](QWidget* widget) {
              auto* menu = static_cast<QMenu*>(widget);
              for (QAction* action : menu->actions()) {
                shown.push_back({action->data().toInt(), ToUtf8(action->text())});
                if (id && action->data().toInt() == *id) menu->setActiveAction(action);
              }
              QTest::keyClick(menu, id ? Qt::Key_Return : Qt::Key_Escape);
            });
  // What the window system makes of a right click on the slider.
  const QPoint at(slider.width() / 2, 10);
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, slider.mapToGlobal(at));
  QApplication::sendEvent(&slider, &rightClick);
  EXPECT_FALSE(shown.empty()) << "no popup menu";
  return shown;
}

class VolSliderTest : public testing::Test {
 protected:
  std::unique_ptr<CVolSlider> MakeSlider() {
    auto slider = std::make_unique<CVolSlider>(reporter, nullptr);
    slider->setGeometry(100, 100, 24, 200);
    slider->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(slider.get()));
    return slider;
  }

  velvasto::test::SettingsFileScope settingsFile;
  test::RecordingReporter reporter;
};

TEST_F(VolSliderTest, WithoutSettingsTheColoursAreBlackAndCyanAndBothAreWrittenAtDestruction) {
  {
    const auto slider = MakeSlider();
    EXPECT_EQ(slider->BackColour(), (Rgb{0, 0, 0}));
    EXPECT_EQ(slider->ForeColour(), (Rgb{0, 223, 223}));
  }
  EXPECT_EQ(velvasto::test::ReadWholeFile(settingsFile.Path()),
            "[Velvasto]\n"
            "Vol Slider Back Color R=0\nVol Slider Back Color G=0\nVol Slider Back Color B=0\n"
            "Vol Slider For Color R=0\nVol Slider For Color G=223\nVol Slider For Color B=223\n");
  EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(VolSliderTest, ColourChosenInTheDialogComesBackFromTheSettingsFileAndCancelKeepsIt) {
  settingsFile.Write(
      "[Velvasto]\nVol Slider Back Color R=10\nVol Slider Back Color G=20\nVol Slider Back Color B=30\n"
      "Vol Slider For Color R=40\nVol Slider For Color G=50\nVol Slider For Color B=60\n");
  {
    const auto slider = MakeSlider();
    {
      const test::ColourDialogAnswer cancel(std::nullopt);
      PickInPopup(*slider, meter_cmd::kBackColour);
      EXPECT_EQ(cancel.Opened(), QColor(10, 20, 30));
      EXPECT_EQ(slider->BackColour(), (Rgb{10, 20, 30}));
    }
    const test::ColourDialogAnswer choose(QColor(200, 100, 7));
    PickInPopup(*slider, meter_cmd::kTrackColour);
    EXPECT_EQ(choose.Opened(), QColor(40, 50, 60));
    EXPECT_EQ(slider->ForeColour(), (Rgb{200, 100, 7}));
  }
  const auto again = MakeSlider();
  EXPECT_EQ(again->BackColour(), (Rgb{10, 20, 30}));
  EXPECT_EQ(again->ForeColour(), (Rgb{200, 100, 7}));
}

TEST_F(VolSliderTest, PopupOffersTheThreeColourCommandsInOrderAndRestoresTheDefaults) {
  settingsFile.Write("[Velvasto]\nVol Slider Back Color R=9\nVol Slider For Color B=1\n");
  const auto slider = MakeSlider();
  const std::vector<MenuEntry> expected = {
      {32798, "トラックアクティブ色の変更"}, {32801, "バックグランド色の変更"}, {32802, "色を既定色に戻す"}};
  EXPECT_EQ(PickInPopup(*slider, std::nullopt), expected);
  EXPECT_EQ(slider->BackColour(), (Rgb{9, 0, 0}));
  EXPECT_EQ(slider->ForeColour(), (Rgb{0, 223, 1})) << "Escape changes nothing";
  PickInPopup(*slider, meter_cmd::kDefaultColours);
  EXPECT_EQ(slider->BackColour(), (Rgb{0, 0, 0}));
  EXPECT_EQ(slider->ForeColour(), (Rgb{0, 223, 223}));
}

TEST_F(VolSliderTest, AFailedWriteAtDestructionIsShownOnceAndTheSliderStillGoes) {
  // The settings folder is a file: nothing can be written below it.
  const auto blocker = settingsFile.Dir().Write("blocker", "");
  CINIFile::SetSettingsPath(blocker / "velvasto.ini");
  auto slider = MakeSlider();
  QPointer<CVolSlider> watch(slider.get());
  slider.reset();
  EXPECT_TRUE(watch.isNull());
  EXPECT_EQ(reporter.shown, std::vector<std::string>{std::string(CatalogueText(62012))});
}

// Pixels of the slider's middle column in the active colour.
int ActivePixelsDownTheMiddle(CVolSlider& slider) {
  const QImage face = slider.grab().toImage();
  const QColor fore = slider.ForeColour().ToQColor();
  int count = 0;
  for (int y = 0; y < face.height(); ++y) count += face.pixelColor(face.width() / 2, y) == fore;
  return count;
}

TEST_F(VolSliderTest, TrackBelowTheThumbIsLitSoFullVolumeLightsItAll) {
  settingsFile.Write(
      "[Velvasto]\nVol Slider Back Color R=40\nVol Slider Back Color G=0\nVol Slider Back Color B=90\n");
  const auto slider = MakeSlider();
  slider->setValue(0);
  EXPECT_EQ(slider->grab().toImage().pixelColor(1, 1), QColor(40, 0, 90));
  const int fullVolume = ActivePixelsDownTheMiddle(*slider);
  slider->setValue(127);
  const int silence = ActivePixelsDownTheMiddle(*slider);
  EXPECT_GT(fullVolume, slider->height() / 2);
  EXPECT_LT(silence, slider->height() / 8);
}

TEST_F(VolSliderTest, KeysMoveTheThumbTheWayTheyPointAndTheVolumeWithIt) {
  const auto slider = MakeSlider();
  slider->setValue(60);
  struct KeyCase {
    Qt::Key key;
    int position;
  };
  const KeyCase cases[] = {
      {Qt::Key_Up, 59},       {Qt::Key_Down, 60}, {Qt::Key_PageUp, 60 - slider->pageStep()},
      {Qt::Key_PageDown, 60}, {Qt::Key_Home, 0},  {Qt::Key_End, 127}};
  for (const KeyCase& c : cases) {
    QTest::keyClick(slider.get(), c.key);
    EXPECT_EQ(slider->value(), c.position) << "key " << c.key;
  }
}

}  // namespace
}  // namespace velvasto::gui
