#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "core/cini_file.h"
#include "dialog_test_support.h"
#include "gui/dialogs/midi_port_dlg.h"
#include "gui/dialogs/midi_port_set_dlg.h"
#include "gui/dialogs/midi_port_set_item_dlg.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui::test {
namespace {

using velvasto::test::SettingsFileScope;

const std::vector<std::string> kThree{"Synth A", "Synth B", "SC-88"};

QStringList Items(const QListWidget& list) {
  QStringList items;
  for (int row = 0; row < list.count(); ++row) items << list.item(row)->text();
  return items;
}

struct PortDialog {
  explicit PortDialog(const CMIDIPort& ports) : dialog(ports, false, reporter) { dialog.show(); }
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

  port.portA().setCurrentRow(2);  // after the mapper: device 1
  Click(port.dialog, "ok");
  EXPECT_EQ(port.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(port.dialog.Ports().PortCount(), 1);
  EXPECT_EQ(port.dialog.Ports().PortA(), 1);
  EXPECT_EQ(port.dialog.Ports().PortB(), CMIDIPort::kNoPort);
  EXPECT_TRUE(port.reporter.shown.empty());
}

TEST(PortDialogTest, TheSameDeviceTwiceIsRefusedAndTheDialogStaysOpen) {
  PortDialog port(PortChoice(kThree, 2, 0, 1));
  port.portB().setCurrentRow(0);
  Click(port.dialog, "ok");
  EXPECT_EQ(port.reporter.shown, Texts({62017}));
  EXPECT_TRUE(port.dialog.isVisible());
  EXPECT_EQ(port.dialog.Ports().PortB(), 1);

  port.portB().setCurrentRow(2);
  Click(port.dialog, "ok");
  EXPECT_FALSE(port.dialog.isVisible());
  EXPECT_EQ(port.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(port.dialog.Ports().PortB(), 2);
}


using Rows = std::vector<QStringList>;

class PatchbayDialogTest : public ::testing::Test {
 protected:
  PatchbayDialogTest() { sets_.Load(catalog_); }

  // Sets labelled by `labels`, one port each on the mapper, scan string the label in lower case.
  void AddSets(std::initializer_list<const char*> labels) {
    for (const char* label : labels) sets_.Add(label, QString(label).toLower().toStdString(), 1, -1, -1);
  }
  CMIDIPortSetDlg& Open() {
    dialog_ = std::make_unique<CMIDIPortSetDlg>(sets_, reporter_);
    dialog_->show();
    return *dialog_;
  }
  QTreeWidget& List() { return Child<QTreeWidget>(*dialog_, "sets"); }
  Rows ShownRows() {
    Rows rows;
    for (int row = 0; row < List().topLevelItemCount(); ++row) {
      QStringList texts;
      for (int column = 0; column < List().columnCount(); ++column) texts << List().topLevelItem(row)->text(column);
      rows.push_back(texts);
    }
    return rows;
  }
  QStringList Labels() const {
    QStringList labels;
    for (int i = 0; i < sets_.SetsInUse(); ++i) labels << QString::fromStdString(sets_.Set(i).Label());
    return labels;
  }
  int SelectedRow() { return List().indexOfTopLevelItem(List().currentItem()); }
  void Select(int row) { List().setCurrentItem(List().topLevelItem(row)); }
  static std::string Setting(std::string_view key) { return CINIFile().ReadString(key, "<missing>"); }

  SettingsFileScope settingsFile_;
  NameCatalog catalog_{{"Synth A", "Synth B", "SC-88"}};
  CMIDIPortSetCollection sets_;
  RecordingReporter reporter_;
  std::unique_ptr<CMIDIPortSetDlg> dialog_;
};

TEST_F(PatchbayDialogTest, ASetAddedThroughTheSetDialogIsSavedOnOk) {
  Open();
  Click(*dialog_, "use");
  {
    ModalAnswer<CMIDIPortSetItemDlg> answer([](CMIDIPortSetItemDlg& set) {
      Child<QLineEdit>(set, "label").setText("SC-88 Pro");
      Child<QLineEdit>(set, "scanString").setText("88pro");
      Click(set, "twoPorts");
      Child<QListWidget>(set, "portA").setCurrentRow(2);
      Child<QListWidget>(set, "portB").setCurrentRow(1);
      Click(set, "ok");
    });
    Click(*dialog_, "add");
  }
  EXPECT_EQ(ShownRows(), (Rows{{"SC-88 Pro", "88pro", "SC-88", "Synth B"}}));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_EQ(sets_.SetsInUse(), 0) << "only OK takes the copy";

  Click(*dialog_, "ok");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_TRUE(sets_.Use());
  ASSERT_EQ(sets_.SetsInUse(), 1);
  EXPECT_EQ(sets_.Set(0).ScanString(), "88pro");
  EXPECT_EQ(Setting("Port Set Use"), "1");
  EXPECT_EQ(Setting("Port Set Num"), "1");
  EXPECT_EQ(Setting("Port Set LABEL 0"), "SC-88 Pro");
  EXPECT_EQ(Setting("MIDI Port Num 0"), "2");
  EXPECT_EQ(Setting("MIDI Port A 0"), "SC-88");
  EXPECT_EQ(Setting("MIDI Port B 0"), "Synth B");
  EXPECT_EQ(Setting("MIDI Port A 9"), "MIDI_MAPPER") << "all ten sets are written";
  EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(PatchbayDialogTest, WithTenSetsAddIsRefusedBeforeTheSetDialogOpens) {
  AddSets({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
  Open();
  {
    ModalAnswer<CMIDIPortSetItemDlg> none([](CMIDIPortSetItemDlg& set) { set.reject(); }, false);
    Click(*dialog_, "add");
  }
  EXPECT_EQ(reporter_.shown, Texts({62053}));
  EXPECT_EQ(ShownRows().size(), 10U);
}

TEST_F(PatchbayDialogTest, MovesAndDeletesKeepASelectionAndMovesRefuseTheEnds) {
  AddSets({"a", "b", "c", "d"});
  Open();
  Select(0);
  Click(*dialog_, "up");
  Select(3);
  Click(*dialog_, "down");
  EXPECT_EQ(reporter_.shown, Texts({62055, 62055}));

  Select(1);
  Click(*dialog_, "up");
  EXPECT_EQ(ShownRows().front().front(), "b");
  EXPECT_EQ(SelectedRow(), 0);
  Select(1);
  Click(*dialog_, "down");
  EXPECT_EQ(SelectedRow(), 2);
  Select(0);
  Click(*dialog_, "delete");
  EXPECT_EQ(SelectedRow(), 0) << "the row that took its place";
  Select(2);
  Click(*dialog_, "delete");
  EXPECT_EQ(SelectedRow(), 1) << "the row before the last one deleted";
  Click(*dialog_, "ok");
  EXPECT_EQ(Labels(), (QStringList{"c", "a"}));
}

TEST_F(PatchbayDialogTest, ChangeEditsTheSelectedSetAndReplacesItsRow) {
  AddSets({"a", "b", "c"});
  sets_.SetUse(true);
  Open();
  EXPECT_TRUE(Child<QCheckBox>(*dialog_, "use").isChecked());
  QStringList headers;
  for (int column = 0; column < List().columnCount(); ++column) headers << List().headerItem()->text(column);
  EXPECT_EQ(headers, (QStringList{"接続音源名", "検索文字列", "ポートA", "ポートB"}));
  Select(1);
  {
    ModalAnswer<CMIDIPortSetItemDlg> answer([](CMIDIPortSetItemDlg& set) {
      EXPECT_EQ(Child<QLineEdit>(set, "label").text(), "b");
      Child<QLineEdit>(set, "label").setText("B2");
      Child<QListWidget>(set, "portA").setCurrentRow(3);
      Click(set, "ok");
    });
    Click(*dialog_, "change");
  }
  EXPECT_EQ(ShownRows(), (Rows{{"a", "a", "MIDI_MAPPER", ""}, {"B2", "b", "SC-88", ""}, {"c", "c", "MIDI_MAPPER", ""}}));
  EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(PatchbayDialogTest, CancelLeavesTheCollectionAndTheFileAlone) {
  AddSets({"a", "b"});
  Open();
  {
    ModalAnswer<CMIDIPortSetItemDlg> answer([](CMIDIPortSetItemDlg& set) { Click(set, "ok"); });
    Click(*dialog_, "add");
  }
  Select(0);
  Click(*dialog_, "delete");
  Click(*dialog_, "use");
  Click(*dialog_, "cancel");
  EXPECT_EQ(Labels(), (QStringList{"a", "b"}));
  EXPECT_FALSE(sets_.Use());
  EXPECT_FALSE(std::filesystem::exists(settingsFile_.Path()));
}

TEST_F(PatchbayDialogTest, AFailedSaveKeepsTheDialogOpenAndTheCollectionAsItWas) {
  AddSets({"a"});
  Open();
  Click(*dialog_, "delete");
  // The settings folder is a file: nothing can be written below it.
  CINIFile::SetSettingsPath(settingsFile_.Dir().Write("blocker", "") / "velvasto.ini");
  Click(*dialog_, "ok");
  EXPECT_EQ(reporter_.shown, Texts({62048}));
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(Labels(), QStringList{"a"});
}

}  // namespace
}  // namespace velvasto::gui::test
