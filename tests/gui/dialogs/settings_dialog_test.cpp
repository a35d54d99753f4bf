#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "dialog_test_support.h"
#include "gui/dialogs/data_opt_dlg.h"
#include "gui/dialogs/force_map_dlg.h"
#include "gui/dialogs/map_scan_dlg.h"
#include "gui/dialogs/play_mode_dlg.h"
#include "gui/dialogs/timer_period_dlg.h"

namespace velvasto::gui::test {
namespace {

bool Checked(const QObject& dialog, const char* name) { return Child<QAbstractButton>(dialog, name).isChecked(); }
bool Enabled(const QObject& dialog, const char* name) { return Child<QWidget>(dialog, name).isEnabled(); }

TEST(TimerPeriodDialogTest, ShowsTheRangeAndFollowsTheSliderOnlyWhenTheMouseLetsGo) {
  RecordingReporter reporter;
  CTimerPeriodDlg dialog({.maximum = 20, .minimum = 1, .period = 5}, reporter);
  dialog.show();
  auto& slider = Child<QSlider>(dialog, "period");
  auto& current = Child<QLabel>(dialog, "current");
  EXPECT_EQ(current.text(), "タイマー分解能 : 5ms");
  EXPECT_EQ(slider.minimum(), 1);
  EXPECT_EQ(slider.maximum(), 20);

  slider.setFocus();
  QTest::keyClick(&slider, Qt::Key_Right);
  QTest::keyClick(&slider, Qt::Key_Right);
  EXPECT_EQ(current.text(), "タイマー分解能 : 5ms") << "moving without the mouse leaves the text";
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() - 2, slider.height() / 2));
  EXPECT_EQ(current.text(), QString("タイマー分解能 : %1ms").arg(slider.value()));
  EXPECT_GT(slider.value(), 7);

  slider.setValue(9);
  Click(dialog, "ok");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Period(), 9U) << "OK reads the slider, not the text";
}

TEST(TimerPeriodDialogTest, APositionOutsideTheRangeIsRefusedAndTheDialogStaysOpen) {
  // A timer whose shortest period is above the 20 ms cap: no position is in range.
  RecordingReporter reporter;
  CTimerPeriodDlg dialog({.maximum = 20, .minimum = 25, .period = 25}, reporter);
  dialog.show();
  Click(dialog, "ok");
  EXPECT_EQ(reporter.shown, Texts({62018}));
  EXPECT_TRUE(dialog.isVisible());
}

PlayBehaviour DistinctBehaviour() {
  return {.mapMode = 2, .forceMap = 3, .adjust55 = 1, .rcpLoopLimit = 17, .cmResetSend = 1, .gsResetSend = 0,
          .xgSystemOnSend = 1, .gm1SystemOnSend = 0, .gm2SystemOnSend = 1, .gmSystemOff = false, .fix8850 = 1,
          .scan = {"pro", "88", "55"}};
}

TEST(PlayModeDialogTest, DetailsFollowTheMapModeAndOkStoresTheControlsAndWhatTheDetailsConfirmed) {
  RecordingReporter reporter;
  CPlayModeDlg dialog(DistinctBehaviour(), reporter);
  dialog.show();
  EXPECT_EQ(Child<QLineEdit>(dialog, "loopLimit").text(), "17");
  EXPECT_TRUE(Checked(dialog, "mapMode2"));
  const auto details = [&] { return std::pair(Enabled(dialog, "scanDetails"), Enabled(dialog, "forceDetails")); };
  EXPECT_EQ(details(), std::pair(false, true));
  {
    ModalAnswer<CForceMapDlg> answer([](CForceMapDlg& map) {
      EXPECT_TRUE(Checked(map, "map3"));
      Click(map, "map1");
      Click(map, "ok");
    });
    Click(dialog, "forceDetails");
  }
  Click(dialog, "mapMode0");
  EXPECT_EQ(details(), std::pair(false, false));
  Click(dialog, "mapMode1");
  EXPECT_EQ(details(), std::pair(true, false));
  {
    ModalAnswer<CMapScanDlg> answer([](CMapScanDlg& scan) {
      EXPECT_EQ(Child<QLineEdit>(scan, "sc88Pro").text(), "pro");
      Child<QLineEdit>(scan, "sc55").setText("");
      Click(scan, "ok");
    });
    Click(dialog, "scanDetails");
  }
  for (const char* name : {"adjust55", "cmReset", "gsReset", "gmSystemOff", "fix8850"}) Click(dialog, name);
  Child<QLineEdit>(dialog, "loopLimit").setText("255");
  Click(dialog, "ok");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  PlayBehaviour expected = DistinctBehaviour();
  expected.mapMode = 1;
  expected.forceMap = 1;
  expected.scan.sc55 = "";
  expected.adjust55 = 0;
  expected.cmResetSend = 0;
  expected.gsResetSend = 1;
  expected.gmSystemOff = true;
  expected.fix8850 = 0;
  expected.rcpLoopLimit = 255;
  EXPECT_EQ(dialog.Values(), expected);
}

TEST(PlayModeDialogTest, ALoopLimitOutside1To255IsRefusedWithTheFocusOnIt) {
  for (const char* text : {"0", "256", "abc", "", " 1", "255"}) {
    SCOPED_TRACE(text);
    RecordingReporter reporter;
    CPlayModeDlg dialog(DistinctBehaviour(), reporter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto& edit = Child<QLineEdit>(dialog, "loopLimit");
    edit.setText(text);
    Click(dialog, "ok");
    const bool accepted = QString(text).trimmed() == "1" || QString(text).trimmed() == "255";
    EXPECT_EQ(dialog.result() == QDialog::Accepted, accepted);
    if (accepted) {
      EXPECT_EQ(dialog.Values().rcpLoopLimit, QString(text).trimmed().toInt());
    } else {
      EXPECT_EQ(reporter.shown, std::vector<std::string>{"1 から 255 までの整数を入力してください。"});
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_TRUE(edit.hasFocus());
    }
  }
}

TEST(MapDialogsTest, TheScanStringsComeBackAsTypedAndEnterConfirms) {
  CMapScanDlg dialog({"88P", "88N", "55"});
  dialog.show();
  auto& sc88 = Child<QLineEdit>(dialog, "sc88");
  sc88.clear();
  sc88.setFocus();
  QTest::keyClicks(&sc88, "mk2 ");
  QTest::keyClick(&sc88, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Strings(), (MapScanStrings{"88P", "mk2 ", "55"}));
}

TEST(MapDialogsTest, TheForcedMapIsTheCheckedRadioAndEscapeCancels) {
  CForceMapDlg dialog(2);
  dialog.show();
  EXPECT_TRUE(Checked(dialog, "map2"));
  Click(dialog, "map0");
  Click(dialog, "ok");
  EXPECT_EQ(dialog.Map(), 0);

  CForceMapDlg unknown(9);
  unknown.show();
  QTest::keyClick(&unknown, Qt::Key_Escape);
  EXPECT_EQ(unknown.result(), QDialog::Rejected);
  CForceMapDlg kept(9);
  kept.show();
  Click(kept, "ok");
  EXPECT_EQ(kept.Map(), 9) << "no radio chosen: the value stays";
}

TEST(EntrySettingsDialogTest, DetailsOnlyForTheForcedMapAndOkKeepsTheirChoice) {
  CDataOptDlg dialog({.mapMode = 0, .adjust55 = 0, .forceMap = 1});
  dialog.show();
  EXPECT_FALSE(Enabled(dialog, "forceDetails"));
  Click(dialog, "mapMode2");
  EXPECT_TRUE(Enabled(dialog, "forceDetails"));
  Click(dialog, "mapMode1");
  EXPECT_FALSE(Enabled(dialog, "forceDetails"));
  Click(dialog, "mapMode2");
  {
    ModalAnswer<CForceMapDlg> answer([](CForceMapDlg& map) {
      EXPECT_TRUE(Checked(map, "map1"));
      Click(map, "map3");
      Click(map, "ok");
    });
    Click(dialog, "forceDetails");
  }
  Click(dialog, "adjust55");
  Click(dialog, "ok");
  EXPECT_EQ(dialog.Settings(), (EntryMapSettings{.mapMode = 2, .adjust55 = 1, .forceMap = 3}));
}

}  // namespace
}  // namespace velvasto::gui::test
