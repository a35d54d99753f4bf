#pragma once
// The five transport buttons and the volume slider of the main view: made here as children of
// the view, which places them by its layout and wires them to the player.

#include <array>

#include "engine/error_reporter.h"
#include "gui/monitor/org_button.h"
#include "gui/monitor/pause_button.h"
#include "gui/monitor/play_button.h"
#include "gui/monitor/vol_slider.h"
#include "gui/view_layout.h"

namespace velvasto::gui {

struct TransportWidgets {
  // Every button, by TransportButton; each carries its command.
  std::array<COrgButton*, kTransportButtonCount> buttons{};
  CPlayButton* play = nullptr;
  CPauseButton* pause = nullptr;
  CVolSlider* slider = nullptr;
};

// Throws CErrMessage when a button's bitmap cannot be loaded. `reporter` shows what the slider
// cannot save.
TransportWidgets MakeTransportWidgets(QWidget& parent, ErrorReporter& reporter);

}  // namespace velvasto::gui
