#pragma once
// The five transport buttons and the volume slider of the main view: made here as children of
// the view, which places them by its layout and wires them to the player.

#include <QAbstractButton>
#include <array>

#include "gui/transport_stand_in.h"
#include "gui/view_layout.h"

namespace velvasto::gui {

struct TransportWidgets {
  // Every button, by TransportButton; each carries its command id.
  std::array<QAbstractButton*, kTransportButtonCount> buttons{};
  PlayButton* play = nullptr;
  PauseButton* pause = nullptr;
  // Vertical, range 0..127; the volume is 127 − its position.
  VolumeSlider* slider = nullptr;
};

TransportWidgets MakeTransportWidgets(QWidget& parent);

// The command a transport button runs.
CommandId ButtonCommand(TransportButton button);

}  // namespace velvasto::gui
