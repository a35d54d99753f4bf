#include "gui/dialogs/dialog_commands.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>

#include "core/cini_file.h"
#include "dialog_test_support.h"
#include "gui/dialogs/map_scan_dlg.h"
#include "gui/dialogs/midi_port_dlg.h"
#include "gui/dialogs/play_mode_dlg.h"
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

}  // namespace
}  // namespace velvasto::gui::test
