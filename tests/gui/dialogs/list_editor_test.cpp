#include <gtest/gtest.h>

#include <QListWidget>

#include "app/remembered_folder.h"
#include "core/cini_file.h"
#include "core/paths.h"
#include "dialog_test_support.h"
#include "gui/dialogs/data_opt_dlg.h"
#include "gui/dialogs/force_map_dlg.h"
#include "gui/dialogs/list_file_edit_dlg.h"
#include "support/settings_file_scope.h"

namespace velvasto::gui::test {
namespace {

using velvasto::test::SettingsFileScope;

namespace fs = std::filesystem;

// The open dialog's answers, one list of files per call, and the folders it was opened in.
struct ScriptedChooser {
  std::vector<std::vector<fs::path>> answers;
  std::vector<fs::path> folders;

  SongFilesChooser Function() {
    return [this](QWidget*, const fs::path& folder) {
      folders.push_back(folder);
      std::vector<fs::path> answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    };
  }
};

class ListEditorTest : public ::testing::Test {
 protected:
  void Fill(std::initializer_list<const char*> names) {
    for (const char* name : names) list_.Append({.path = fs::path("/songs") / name});
    list_.SetModified(false);
  }
  void FillCount(int count) {
    for (int i = 0; i < count; ++i) list_.Append({.path = "/songs/" + std::to_string(i) + ".mid"});
  }
  CListFileEditDlg& Open() {
    dialog_ = std::make_unique<CListFileEditDlg>(list_, false, 100, reporter_, chooser_.Function());
    dialog_->show();
    return *dialog_;
  }
  QListWidget& Lines() { return Child<QListWidget>(*dialog_, "entries"); }
  QStringList Shown() {
    QStringList lines;
    for (int row = 0; row < Lines().count(); ++row) lines << Lines().item(row)->text();
    return lines;
  }
  QStringList Working() {
    QStringList names;
    for (const ListEntry& entry : dialog_->WorkingList().Entries()) names << QString::fromStdString(entry.path.filename());
    return names;
  }
  // insert, add, delete, per-entry settings, up, down
  std::vector<bool> Buttons() {
    std::vector<bool> enabled;
    for (const char* name : {"insert", "add", "delete", "entrySettings", "up", "down"}) {
      enabled.push_back(Child<QAbstractButton>(*dialog_, name).isEnabled());
    }
    return enabled;
  }

  SettingsFileScope settingsFile_;
  CPlayList list_;
  RecordingReporter reporter_;
  ScriptedChooser chooser_;
  std::unique_ptr<CListFileEditDlg> dialog_;
};

TEST_F(ListEditorTest, ButtonsFollowTheListAndTheSelection) {
  using B = std::vector<bool>;
  struct Case {
    int count;
    int select;  // −1: as the dialog opens
    B buttons;
  };
  const Case cases[] = {
      {0, -1, B{false, true, false, false, false, false}},   {1, -1, B{true, true, true, true, false, false}},
      {3, -1, B{true, true, true, true, false, true}},       {3, 2, B{true, true, true, true, true, false}},
      {3, 1, B{true, true, true, true, true, true}},         {1024, -1, B{false, false, true, true, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " entries, line " << c.select);
    list_.Clear();
    FillCount(c.count);
    Open();
    EXPECT_EQ(Lines().count(), c.count);
    if (c.select >= 0) Lines().setCurrentRow(c.select);
    EXPECT_EQ(Buttons(), c.buttons);
  }
  EXPECT_EQ(Lines().item(7)->text(), "7.mid") << "lines show file names without folders";
}

TEST_F(ListEditorTest, InsertGoesBeforeTheSelectionInOrderAndAddAppends) {
  Fill({"a.mid", "b.mid", "c.mid"});
  chooser_.answers = {{"/new/x.rcp", "/new/y.g36"}, {"/more/z.mid"}};
  Open();
  Lines().setCurrentRow(1);
  Click(*dialog_, "insert");
  EXPECT_EQ(Shown(), (QStringList{"a.mid", "x.rcp", "y.g36", "b.mid", "c.mid"}));
  EXPECT_EQ(Lines().currentItem()->text(), "b.mid");
  Click(*dialog_, "add");
  EXPECT_EQ(Working(), (QStringList{"a.mid", "x.rcp", "y.g36", "b.mid", "c.mid", "z.mid"}));

  const ListEntry& added = dialog_->WorkingList().Entry(1);
  EXPECT_EQ(added.path, "/new/x.rcp");
  EXPECT_EQ(added.volume, 100);
  EXPECT_EQ(added.mapMode + added.forceMap + added.adjust55, 0);
  EXPECT_TRUE(dialog_->WorkingList().Modified());
  EXPECT_EQ(chooser_.folders, (std::vector<fs::path>{ExecutablePath().parent_path(), "/new"}))
      << "each dialog opens where the last choice was made";
  EXPECT_EQ(CINIFile().ReadString(kPlayFileFolderKey, ""), "/more");
  EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(ListEditorTest, AFullListTakesWhatFitsAndSaysSo) {
  FillCount(1020);
  chooser_.answers.emplace_back();
  for (int i = 0; i < 10; ++i) chooser_.answers.back().push_back("/new/" + std::to_string(i) + ".mid");
  Open();
  Click(*dialog_, "add");
  EXPECT_EQ(dialog_->WorkingList().Count(), 1024);
  EXPECT_EQ(Lines().count(), 1024);
  EXPECT_EQ(dialog_->WorkingList().Entries().back().path, "/new/3.mid");
  EXPECT_EQ(reporter_.shown, Texts({62021}));
  EXPECT_EQ(Buttons()[0] || Buttons()[1], false) << "insert and add are off";
}

TEST_F(ListEditorTest, AFolderThatCannotBeRememberedAddsNothing) {
  Fill({"a.mid"});
  chooser_.answers = {{"/new/x.mid"}};
  CINIFile::SetSettingsPath(settingsFile_.Dir().Write("blocker", "") / "velvasto.ini");
  Open();
  Click(*dialog_, "add");
  EXPECT_EQ(reporter_.shown, Texts({62012}));
  EXPECT_EQ(Working(), QStringList{"a.mid"});
}

TEST_F(ListEditorTest, MovesAndDeletesKeepASensibleSelection) {
  Fill({"a.mid", "b.mid", "c.mid"});
  Open();
  Click(*dialog_, "down");
  Click(*dialog_, "down");
  EXPECT_EQ(Working(), (QStringList{"b.mid", "c.mid", "a.mid"}));
  EXPECT_EQ(Shown(), Working());
  EXPECT_EQ(Lines().currentRow(), 2);
  EXPECT_EQ(Buttons()[4], true);
  EXPECT_EQ(Buttons()[5], false) << "the last line cannot go down";
  Click(*dialog_, "up");
  EXPECT_EQ(Working(), (QStringList{"b.mid", "a.mid", "c.mid"}));
  EXPECT_EQ(Lines().currentRow(), 1);

  Lines().setCurrentRow(2);
  Click(*dialog_, "delete");
  EXPECT_EQ(Lines().currentItem()->text(), "a.mid") << "the line before the last one deleted";
  Lines().setCurrentRow(0);
  Click(*dialog_, "delete");
  EXPECT_EQ(Lines().currentItem()->text(), "a.mid") << "the line that took the deleted one's place";
  Click(*dialog_, "delete");
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, false, false, false}));
  EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(ListEditorTest, PerEntrySettingsMarkTheListOnlyWhenTheyChange) {
  Fill({"a.mid", "b.mid"});
  Open();
  Lines().setCurrentRow(1);
  {
    ModalAnswer<CDataOptDlg> answer([](CDataOptDlg& options) { Click(options, "ok"); });
    Click(*dialog_, "entrySettings");
  }
  EXPECT_FALSE(dialog_->WorkingList().Modified());
  {
    ModalAnswer<CDataOptDlg> answer([](CDataOptDlg& options) {
      Click(options, "mapMode2");
      ModalAnswer<CForceMapDlg> forced([](CForceMapDlg& map) {
        Click(map, "map2");
        Click(map, "ok");
      });
      Click(options, "forceDetails");
      Click(options, "cancel");
    });
    Click(*dialog_, "entrySettings");
  }
  EXPECT_FALSE(dialog_->WorkingList().Modified()) << "cancelled, the forced map with it";
  EXPECT_EQ(dialog_->WorkingList().Entry(1).forceMap, 0);
  {
    ModalAnswer<CDataOptDlg> answer([](CDataOptDlg& options) {
      Click(options, "mapMode1");
      Click(options, "adjust55");
      Click(options, "ok");
    });
    Click(*dialog_, "entrySettings");
  }
  EXPECT_TRUE(dialog_->WorkingList().Modified());
  const ListEntry& entry = dialog_->WorkingList().Entry(1);
  EXPECT_EQ(entry.mapMode, 1);
  EXPECT_EQ(entry.adjust55, 1);
  EXPECT_EQ(dialog_->WorkingList().Entry(0).mapMode, 0);
}

}  // namespace
}  // namespace velvasto::gui::test
