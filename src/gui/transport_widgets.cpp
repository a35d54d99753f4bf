#include "gui/transport_widgets.h"

#include "gui/monitor/plain_buttons.h"

namespace velvasto::gui {

TransportWidgets MakeTransportWidgets(QWidget& parent, ErrorReporter& reporter) {
  TransportWidgets widgets;
  const auto at = [&](TransportButton button) -> COrgButton*& {
    return widgets.buttons[static_cast<std::size_t>(button)];
  };
  // Made in the order STOP, PLAY, REWIND, FF, PAUSE, which is also their tab order.
  at(TransportButton::Stop) = new CStopButton(&parent);
  at(TransportButton::Play) = widgets.play = new CPlayButton(&parent);
  at(TransportButton::Rewind) = new CRewButton(&parent);
  at(TransportButton::FastForward) = new CFFButton(&parent);
  at(TransportButton::Pause) = widgets.pause = new CPauseButton(&parent);
  widgets.slider = new CVolSlider(reporter, &parent);
  return widgets;
}

}  // namespace velvasto::gui
