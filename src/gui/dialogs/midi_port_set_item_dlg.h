#pragma once
// The patchbay's set dialog "仮想MIDIパッチベイ MIDIポートの設定": one port set's label
// ("接続音源名"), scan string ("検索文字列") and port choice, edited on a copy; after OK, Set()
// holds them.

#include <QDialog>

#include "engine/error_reporter.h"
#include "midiout/midi_port_set.h"

class QLineEdit;

namespace velvasto::gui {

class PortChoiceBox;

class CMIDIPortSetItemDlg : public QDialog {
  Q_OBJECT

 public:
  CMIDIPortSetItemDlg(const CMIDIPortSet& set, ErrorReporter& reporter, QWidget* parent = nullptr);

  const CMIDIPortSet& Set() const { return set_; }

 private:
  void OnOk();

  CMIDIPortSet set_;
  QLineEdit* label_;
  QLineEdit* scanString_;
  PortChoiceBox* choice_;
};

}  // namespace velvasto::gui
