#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>

#include "dialog_test_support.h"
#include "gui/dialogs/midi_port_dlg.h"

namespace velvasto::gui::test {
namespace {

const std::vector<std::string> kThree{"Synth A", "Synth B", "SC-88"};

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int row = 0; row < list.count(); ++row) items << list.item(row)->text();
  return items;
}

struct PortDialog {
  explicit PortDialog(const CMIDIPort& ports, bool installHint = false) : dialog(ports, installHint, reporter) {
    dialog.show();
  }
  QCheckBox& twoPorts() { return Child<QCheckBox>(dialog, "twoPorts"); }
  QListWidget& portA() { return Child<QListWidget>(dialog, "portA"); }
  QListWidget& portB() { return Child<QListWidget>(dialog, "portB"); }

  RecordingReporter reporter;
  CMIDIPortDlg dialog;
};

TEST(PortDialogTest, OpensOnTheChoiceItWasGiven) {
  const QStringList threeNames{"Synth A", "Synth B", "SC-88"};
  struct Case {
    const char* what;
    CMIDIPort ports;
    bool twoEnabled;
    bool two;
    QStringList itemsA;
    int rowA;
    int rowB;
  };
  const Case cases[] = {
      {"a single device", PortChoice({"Synth A"}), false, false, {"MIDI_MAPPER", "Synth A"}, 0, 0},
      {"one port on a device", PortChoice(kThree, 1, 2), true, false, QStringList{"MIDI_MAPPER"} + threeNames, 3, 0},
      {"two ports", PortChoice(kThree, 2, 2, 0), true, true, threeNames, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PortDialog port(c.ports);
    EXPECT_EQ(port.twoPorts().isEnabled(), c.twoEnabled);
    EXPECT_EQ(port.twoPorts().isChecked(), c.two);
    EXPECT_EQ(Items(port.portA()), c.itemsA);
    EXPECT_EQ(port.portA().currentRow(), c.rowA);
    EXPECT_EQ(port.portB().count(), static_cast<int>(c.ports.Devices().size()));
    EXPECT_EQ(port.portB().currentRow(), c.rowB);
    EXPECT_EQ(port.portB().isEnabled(), c.two);
  }
}

TEST(PortDialogTest, TheCheckBoxSwitchesBetweenTheMapperAndTwoDevices) {
  PortDialog port(PortChoice(kThree));
  port.twoPorts().click();
  EXPECT_EQ(Items(port.portA()), (QStringList{"Synth A", "Synth B", "SC-88"})) << "no mapper with two ports";
  EXPECT_EQ(port.portA().currentRow(), 0);
  EXPECT_EQ(port.portB().currentRow(), 1);
  EXPECT_TRUE(port.portB().isEnabled());

  port.portA().setCurrentRow(2);
  port.twoPorts().click();
  EXPECT_EQ(port.portA().item(0)->text(), "MIDI_MAPPER");
  EXPECT_EQ(port.portA().currentRow(), 0) << "one port starts again on the mapper";
  EXPECT_FALSE(port.portB().isEnabled());

  port.twoPorts().click();
  port.portA().setCurrentRow(2);
  port.portB().setCurrentRow(0);
  Click(port.dialog, "ok");
  EXPECT_EQ(port.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(port.dialog.Ports().PortCount(), 2);
  EXPECT_EQ(port.dialog.Ports().PortA(), 2);
  EXPECT_EQ(port.dialog.Ports().PortB(), 0);
  EXPECT_TRUE(port.reporter.errors.empty());
}

TEST(PortDialogTest, TheSameDeviceTwiceIsRefusedAndTheDialogStaysOpen) {
  PortDialog port(PortChoice(kThree, 2, 0, 1));
  port.portB().setCurrentRow(0);
  Click(port.dialog, "ok");
  EXPECT_EQ(port.reporter.errors, Texts({62017}));
  EXPECT_TRUE(port.dialog.isVisible());
  EXPECT_EQ(port.dialog.Ports().PortB(), 1);

  port.portB().setCurrentRow(2);
  Click(port.dialog, "ok");
  EXPECT_FALSE(port.dialog.isVisible());
  EXPECT_EQ(port.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(port.dialog.Ports().PortB(), 2);
}

TEST(PortDialogTest, OnePortTakesThePortAEntryAndNoPortB) {
  PortDialog port(PortChoice(kThree, 2, 0, 1));
  port.twoPorts().click();
  port.portA().setCurrentRow(2);  // after the mapper: device 1
  Click(port.dialog, "ok");
  EXPECT_EQ(port.dialog.Ports().PortCount(), 1);
  EXPECT_EQ(port.dialog.Ports().PortA(), 1);
  EXPECT_EQ(port.dialog.Ports().PortB(), CMIDIPort::kNoPort);
}

TEST(PortDialogTest, TheInstallationHintOnlyDuringInstallation) {
  PortDialog plain(PortChoice(kThree));
  EXPECT_EQ(plain.dialog.findChild<QLabel*>("installHint"), nullptr);
  PortDialog installing(PortChoice(kThree), true);
  EXPECT_TRUE(Child<QLabel>(installing.dialog, "installHint").isVisible());
}

}  // namespace
}  // namespace velvasto::gui::test
