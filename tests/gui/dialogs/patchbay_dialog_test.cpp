#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "core/cini_file.h"
#include "dialog_test_support.h"
#include "gui/dialogs/midi_port_set_dlg.h"
#include "gui/dialogs/midi_port_set_item_dlg.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui::test {
namespace {

using velvasto::test::SettingsFileScope;

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

TEST_F(PatchbayDialogTest, ListsTheSetsInUseInFourColumns) {
  sets_.Add("Pro", "88P", 2, 2, 0);
  sets_.Add("GM", "", 1, -1, -1);
  sets_.SetUse(true);
  Open();
  EXPECT_TRUE(Child<QCheckBox>(*dialog_, "use").isChecked());
  QStringList headers;
  for (int column = 0; column < List().columnCount(); ++column) headers << List().headerItem()->text(column);
  EXPECT_EQ(headers, (QStringList{"接続音源名", "検索文字列", "ポートA", "ポートB"}));
  EXPECT_EQ(ShownRows(), (Rows{{"Pro", "88P", "SC-88", "Synth A"}, {"GM", "", "MIDI_MAPPER", ""}}));
}

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
  EXPECT_TRUE(reporter_.errors.empty());
}

TEST_F(PatchbayDialogTest, WithTenSetsAddIsRefusedBeforeTheSetDialogOpens) {
  AddSets({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
  Open();
  {
    ModalAnswer<CMIDIPortSetItemDlg> none([](CMIDIPortSetItemDlg& set) { set.reject(); }, false);
    Click(*dialog_, "add");
  }
  EXPECT_EQ(reporter_.errors, Texts({62053}));
  EXPECT_EQ(ShownRows().size(), 10U);
}

TEST_F(PatchbayDialogTest, MovesKeepTheMovedRowSelectedAndRefuseTheEnds) {
  AddSets({"a", "b", "c"});
  Open();
  Select(0);
  Click(*dialog_, "up");
  Select(2);
  Click(*dialog_, "down");
  EXPECT_EQ(reporter_.errors, Texts({62055, 62055}));

  Select(1);
  Click(*dialog_, "up");
  EXPECT_EQ(ShownRows().front().front(), "b");
  EXPECT_EQ(SelectedRow(), 0);
  Select(1);
  Click(*dialog_, "down");
  EXPECT_EQ(SelectedRow(), 2);
  Click(*dialog_, "ok");
  EXPECT_EQ(Labels(), (QStringList{"b", "c", "a"}));
}

TEST_F(PatchbayDialogTest, DeleteSelectsTheNextRowOrTheLastOne) {
  AddSets({"a", "b", "c"});
  Open();
  Select(0);
  Click(*dialog_, "delete");
  EXPECT_EQ(SelectedRow(), 0);
  Select(1);
  Click(*dialog_, "delete");
  EXPECT_EQ(SelectedRow(), 0);
  Click(*dialog_, "delete");
  EXPECT_TRUE(ShownRows().empty());
  EXPECT_FALSE(Child<QAbstractButton>(*dialog_, "delete").isEnabled()) << "nothing left to delete";
  Click(*dialog_, "ok");
  EXPECT_EQ(sets_.SetsInUse(), 0);
}

TEST_F(PatchbayDialogTest, ChangeEditsTheSelectedSetAndReplacesItsRow) {
  AddSets({"a", "b", "c"});
  Open();
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
  EXPECT_EQ(reporter_.errors, Texts({62048}));
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(Labels(), QStringList{"a"});
}

}  // namespace
}  // namespace velvasto::gui::test
