#pragma once
// The MIDI port dialog "MIDIポートの設定": whether two ports are used and which device is
// PORT A and PORT B. It edits a copy of the port choice; after OK, Ports() is the new choice,
// which the caller saves and makes the default.

#include <QDialog>

#include "engine/error_reporter.h"
#include "midiout/midi_port.h"

namespace velvasto::gui {

class PortChoiceBox;

class CMIDIPortDlg : public QDialog {
  Q_OBJECT

 public:
  // `installHint`: the program runs its installation step (/Commit); a line then tells that the
  // ports can also be set later from the settings menu.
  CMIDIPortDlg(const CMIDIPort& ports, bool installHint, ErrorReporter& reporter, QWidget* parent = nullptr);

  const CMIDIPort& Ports() const { return ports_; }

 private:
  void OnOk();

  CMIDIPort ports_;
  PortChoiceBox* choice_;
};

}  // namespace velvasto::gui
