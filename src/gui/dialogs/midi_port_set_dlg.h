#pragma once
// The patchbay dialog "仮想MIDIパッチベイの設定": the switch, the port sets in use as a list
// (label, scan string, PORT A, PORT B), and adding, changing, deleting and moving them. It works
// on a copy of the collection; OK saves the copy to the settings file and only then makes it the
// program's collection. Cancel leaves the collection and the file as they were.

#include <QDialog>

#include "engine/error_reporter.h"
#include "midiout/midi_port_set.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velvasto::gui {

class CMIDIPortSetDlg : public QDialog {
  Q_OBJECT

 public:
  // `portSets` is replaced by the edited copy when OK succeeds.
  CMIDIPortSetDlg(CMIDIPortSetCollection& portSets, ErrorReporter& reporter, QWidget* parent = nullptr);

 private:
  void OnAdd();
  void OnChange();
  void OnDelete();
  void OnMove(bool up);
  void OnOk();

  // The row of set `index` of the copy, inserted at `index`.
  void InsertRow(int index);
  void SelectRow(int row);
  int SelectedRow() const;
  void UpdateButtons();

  CMIDIPortSetCollection& portSets_;
  CMIDIPortSetCollection copy_;
  ErrorReporter& reporter_;
  QCheckBox* use_;
  QTreeWidget* list_;
  QPushButton* add_;
  QPushButton* change_;
  QPushButton* delete_;
  QPushButton* up_;
  QPushButton* down_;
};

}  // namespace velvasto::gui
