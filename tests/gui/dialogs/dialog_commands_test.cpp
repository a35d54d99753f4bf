#include "gui/dialogs/dialog_commands.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

#include "core/cini_file.h"
#include "dialog_test_support.h"
#include "gui/dialogs/ctrl_file_port_dlg.h"
#include "gui/dialogs/data_select_dlg.h"
#include "gui/dialogs/map_scan_dlg.h"
#include "gui/dialogs/midi_port_dlg.h"
#include "gui/dialogs/play_mode_dlg.h"
#include "gui/dialogs/timer_period_dlg.h"
#include "support/read_file.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui::test {
namespace {

using velvasto::test::SettingsFileScope;

namespace fs = std::filesystem;

class DialogCommandTest : public ::testing::Test {
 protected:
  static std::string Setting(std::string_view key) { return CINIFile().ReadString(key, "<missing>"); }

  SettingsFileScope settingsFile_;
  CVelvastoApp app_;
  RecordingReporter reporter_;
};

TEST_F(DialogCommandTest, MidiPortsAreSavedAndBecomeTheDefaultChoice) {
  app_.activePort = PortChoice({"Synth A", "Synth B", "SC-88"});
  {
    ModalAnswer<CMIDIPortDlg> answer([](CMIDIPortDlg& ports) { Click(ports, "cancel"); });
    EXPECT_FALSE(RunMidiPortDialog(nullptr, app_, reporter_));
  }
  EXPECT_FALSE(fs::exists(settingsFile_.Path()));
  {
    ModalAnswer<CMIDIPortDlg> answer([](CMIDIPortDlg& ports) {
      Click(ports, "twoPorts");
      Child<QListWidget>(ports, "portA").setCurrentRow(2);
      Child<QListWidget>(ports, "portB").setCurrentRow(0);
      Click(ports, "ok");
    });
    EXPECT_TRUE(RunMidiPortDialog(nullptr, app_, reporter_));
  }
  EXPECT_EQ(Setting("MIDI Port Num"), "2");
  EXPECT_EQ(Setting("MIDI Port A"), "SC-88");
  EXPECT_EQ(Setting("MIDI Port B"), "Synth A");
  EXPECT_EQ(app_.activePort.PortA(), 2);
  EXPECT_EQ(app_.defaultPort.PortA(), 2);
  EXPECT_EQ(app_.defaultPort.PortB(), 0);
}

TEST_F(DialogCommandTest, PlayBehaviourCancelDropsConfirmedDetailsAndOkSurvivesARestartButGmSystemOff) {
  {
    ModalAnswer<CPlayModeDlg> answer([](CPlayModeDlg& mode) {
      Click(mode, "mapMode1");
      ModalAnswer<CMapScanDlg> details([](CMapScanDlg& scan) {
        Child<QLineEdit>(scan, "sc88Pro").setText("changed");
        Click(scan, "ok");
      });
      Click(mode, "scanDetails");
      Click(mode, "cancel");
    });
    EXPECT_FALSE(RunPlayModeDialog(nullptr, app_, reporter_));
  }
  EXPECT_EQ(app_.settings.sc88ProScan, "88P");
  EXPECT_EQ(app_.settings.mapMode, 0);
  {
    ModalAnswer<CPlayModeDlg> answer([](CPlayModeDlg& mode) {
      Click(mode, "mapMode1");
      ModalAnswer<CMapScanDlg> details([](CMapScanDlg& scan) {
        Child<QLineEdit>(scan, "sc88Pro").setText("pro");
        Child<QLineEdit>(scan, "sc55").setText("mk1");
        Click(scan, "ok");
      });
      Click(mode, "scanDetails");
      Click(mode, "gmSystemOff");
      Click(mode, "xgSystemOn");
      Child<QLineEdit>(mode, "loopLimit").setText("3");
      Click(mode, "ok");
    });
    EXPECT_TRUE(RunPlayModeDialog(nullptr, app_, reporter_));
  }
  EXPECT_TRUE(app_.gmSystemOff);
  app_.SaveSettings();
  CVelvastoApp restarted;
  restarted.settings.Load(CINIFile());
  EXPECT_EQ(restarted.settings.mapMode, 1);
  EXPECT_EQ(restarted.settings.sc88ProScan, "pro");
  EXPECT_EQ(restarted.settings.sc88Scan, "88N");
  EXPECT_EQ(restarted.settings.sc55Scan, "mk1");
  EXPECT_EQ(restarted.settings.xgSystemOnSend, 1);
  EXPECT_EQ(restarted.settings.rcpLoopLimit, 3);
  EXPECT_FALSE(restarted.gmSystemOff);
  EXPECT_EQ(velvasto::test::ReadWholeFile(settingsFile_.Path()).find("GM System Off"), std::string::npos);
}

TEST_F(DialogCommandTest, TimerPeriodAndControlFilePortsReachTheSettingsFileAtExit) {
  app_.settings.gsdPort = 7;  // no choice of the dialog: kept unless one is chosen
  {
    ModalAnswer<CTimerPeriodDlg> answer([](CTimerPeriodDlg& timer) {
      Child<QSlider>(timer, "period").setValue(12);
      Click(timer, "ok");
    });
    EXPECT_TRUE(RunTimerPeriodDialog(nullptr, app_, reporter_));
  }
  {
    ModalAnswer<CCtrlFilePortDlg> answer([](CCtrlFilePortDlg& ports) {
      EXPECT_TRUE(Child<QAbstractButton>(ports, "cm6_1").isChecked());
      for (const char* name : {"gsd_0", "gsd_1", "gsd_2"}) EXPECT_FALSE(Child<QAbstractButton>(ports, name).isChecked());
      Click(ports, "cm6_0");
      Click(ports, "gsd2_2");
      Click(ports, "ok");
    });
    EXPECT_TRUE(RunControlFilePortDialog(nullptr, app_));
  }
  EXPECT_EQ(app_.timerPeriods.period, 12U);
  app_.SaveSettings();
  EXPECT_EQ(Setting("Timer Period"), "12");
  EXPECT_EQ(Setting("CM6 Port"), "0");
  EXPECT_EQ(Setting("GSD Port"), "7");
  EXPECT_EQ(Setting("GSD2 Port"), "2");
}

TEST_F(DialogCommandTest, TheListEditorCopiesBackOnlyOnOk) {
  for (const char* path : {"/s/a.mid", "/s/b.mid", "/s/c.mid"}) app_.playList.Append({.path = path});
  app_.playList.SetModified(false);
  app_.playList.SetCurrentIndex(2);
  app_.playList.SetFileName("/lists/mine.mlt");
  const auto names = [&] {
    std::vector<std::string> result;
    for (const ListEntry& entry : app_.playList.Entries()) result.push_back(entry.path.filename().string());
    return result;
  };
  {
    ModalAnswer<CListFileEditDlg> answer([](CListFileEditDlg& editor) {
      Click(editor, "delete");
      Click(editor, "down");
      Click(editor, "cancel");
    });
    EXPECT_FALSE(RunListEditor(nullptr, app_, false, reporter_));
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"a.mid", "b.mid", "c.mid"}));
  EXPECT_FALSE(app_.playList.Modified());
  EXPECT_EQ(app_.playList.CurrentIndex(), 2);
  {
    ModalAnswer<CListFileEditDlg> answer([](CListFileEditDlg& editor) {
      Click(editor, "delete");
      Click(editor, "ok");
    });
    EXPECT_TRUE(RunListEditor(nullptr, app_, false, reporter_));
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"b.mid", "c.mid"}));
  EXPECT_TRUE(app_.playList.Modified());
  EXPECT_EQ(app_.playList.FileName(), "/lists/mine.mlt");
  {
    ModalAnswer<CListFileEditDlg> answer([](CListFileEditDlg& editor) { Click(editor, "ok"); });
    EXPECT_TRUE(RunListEditor(nullptr, app_, true, reporter_));
  }
  EXPECT_TRUE(app_.playList.Empty()) << "a new list confirmed with no entries";
}

TEST_F(DialogCommandTest, JumpOffersTheFileNamesAndGivesThePlaceChosen) {
  const auto choose = [&](std::function<void(CDataSelectDlg&)> answer) {
    ModalAnswer<CDataSelectDlg> modal(std::move(answer));
    return ChooseListEntry(nullptr, app_.playList);
  };
  EXPECT_EQ(choose([](CDataSelectDlg& select) { Click(select, "ok"); }), -1) << "an empty list offers nothing";
  for (const char* path : {"/a/one.mid", "/b/two.rcp", "/c/three.g36"}) app_.playList.Append({.path = path});
  EXPECT_EQ(choose([](CDataSelectDlg& select) { Click(select, "cancel"); }), std::nullopt);
  EXPECT_EQ(choose([](CDataSelectDlg& select) {
              auto& entries = Child<QComboBox>(select, "entries");
              EXPECT_EQ(entries.currentIndex(), 0);
              EXPECT_EQ(entries.itemText(2), "three.g36");
              entries.setCurrentIndex(2);
              Click(select, "ok");
            }),
            2);
}

}  // namespace
}  // namespace velvasto::gui::test
