#pragma once
// The list editor "リストファイルの編集": builds or changes the play list on a working copy —
// songs inserted before the selected entry or added at the end through the open dialog
// (several at once, starting in the folder remembered under "Play FIle Folder"), entries
// deleted, moved up and down, and each entry's map settings ("個別設定"). After OK the caller
// copies WorkingList() back into the program's list; Cancel leaves that list untouched.

#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

#include "engine/error_reporter.h"
#include "playlist/play_list.h"

class QListWidget;
class QPushButton;

namespace velvasto::gui {

// Chooses song files, starting in a folder; none when cancelled.
using SongFilesChooser = std::function<std::vector<std::filesystem::path>(QWidget*, const std::filesystem::path&)>;

class CListFileEditDlg : public QDialog {
  Q_OBJECT

 public:
  // Edits a copy of `list`, or starts from an empty list for a new one (`newList`). New entries
  // get `volume` ("Volume Value"). `chooseFiles` is the open dialog (ChooseSongFiles).
  CListFileEditDlg(const CPlayList& list, bool newList, int volume, ErrorReporter& reporter,
                   SongFilesChooser chooseFiles, QWidget* parent = nullptr);

  const CPlayList& WorkingList() const { return working_; }

 private:
  void OnInsert();
  void OnAdd();
  void OnDelete();
  void OnEntrySettings();
  void OnMove(bool up);

  // The open dialog, the folder remembered; nothing when cancelled or the folder cannot be
  // remembered (message 62012).
  std::vector<std::filesystem::path> ChooseFiles();
  ListEntry NewEntry(const std::filesystem::path& path) const;
  void InsertLine(int row, const ListEntry& entry);
  void SelectLine(int row);
  int SelectedLine() const;
  void UpdateButtons();

  CPlayList working_;
  int volume_;
  ErrorReporter& reporter_;
  SongFilesChooser chooseFiles_;
  QListWidget* lines_;
  QPushButton* insert_;
  QPushButton* add_;
  QPushButton* delete_;
  QPushButton* entrySettings_;
  QPushButton* up_;
  QPushButton* down_;
};

}  // namespace velvasto::gui
