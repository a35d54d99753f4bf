#pragma once
// The port part of the MIDI port dialog and of the patchbay's set dialog: the check box
// "2ポート使用する" and the PORT A and PORT B device lists, editing one port choice.
//
// Each list item carries the device's place in the choice's device table; in one-port mode the
// PORT A list starts with the mapper. The check box is enabled only with two devices or more;
// ticking it makes the choice a two-port one (PORT A device 0 when it was the mapper, PORT B the
// first other device), clearing it makes it the one-port mapper choice; either way both lists
// are filled again from the choice.

#include <QWidget>

#include "engine/error_reporter.h"
#include "midiout/midi_port.h"

class QCheckBox;
class QListWidget;

namespace velvasto::gui {

class PortChoiceBox : public QWidget {
  Q_OBJECT

 public:
  // Edits `choice`, which must outlive the box. Failures are shown through `reporter`.
  PortChoiceBox(CMIDIPort& choice, ErrorReporter& reporter, QWidget* parent = nullptr);

  // The OK step: stores the selected devices in the choice. Two ports need two different
  // devices (else message 62017; 62016 when fewer than two devices exist); one port takes the
  // PORT A entry and no PORT B. False, with the error shown, when the choice was refused.
  bool Commit();

 private:
  void OnTwoPortsClicked(bool checked);
  // Both lists from the choice, PORT B enabled only with two ports.
  void Fill();
  void FillList(QListWidget& list, bool withMapper, std::int32_t selected);
  static std::int32_t SelectedDevice(const QListWidget& list);

  CMIDIPort& choice_;
  ErrorReporter& reporter_;
  QCheckBox* twoPorts_;
  QListWidget* portA_;
  QListWidget* portB_;
};

}  // namespace velvasto::gui
