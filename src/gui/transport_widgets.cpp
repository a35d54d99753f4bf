#include "gui/transport_widgets.h"

namespace velvasto::gui {

namespace {

// The captions the stand-in buttons show.
constexpr const char* kCaptions[kTransportButtonCount] = {"STOP", "PLAY", "REWIND", "FF", "PAUSE"};

}  // namespace

StandInButton::StandInButton(CommandId id, QWidget* parent) : QPushButton(parent), id_(id) {
  for (std::size_t i = 0; i < kTransportButtonCount; ++i) {
    if (ButtonCommand(static_cast<TransportButton>(i)) == id) setText(QString::fromLatin1(kCaptions[i]));
  }
}

void StandInPlayButton::SetLamp(bool on) { setText(on ? QStringLiteral("PLAY \u25CF") : QStringLiteral("PLAY")); }

void StandInPauseButton::SetPaused(bool paused) {
  setCheckable(true);
  setChecked(paused);
}

CommandId ButtonCommand(TransportButton button) {
  switch (button) {
    case TransportButton::Stop:
      return CommandId::Stop;
    case TransportButton::Play:
      return CommandId::Play;
    case TransportButton::Rewind:
      return CommandId::Rewind;
    case TransportButton::FastForward:
      return CommandId::FastForward;
    case TransportButton::Pause:
      break;
  }
  return CommandId::Pause;
}

TransportWidgets MakeTransportWidgets(QWidget& parent) {
  TransportWidgets widgets;
  // Created in the order STOP, PLAY, REWIND, FF, PAUSE, which is also their tab order.
  widgets.buttons[static_cast<std::size_t>(TransportButton::Stop)] = new StandInButton(CommandId::Stop, &parent);
  widgets.play = new PlayButton(&parent);
  widgets.buttons[static_cast<std::size_t>(TransportButton::Play)] = widgets.play;
  widgets.buttons[static_cast<std::size_t>(TransportButton::Rewind)] = new StandInButton(CommandId::Rewind, &parent);
  widgets.buttons[static_cast<std::size_t>(TransportButton::FastForward)] =
      new StandInButton(CommandId::FastForward, &parent);
  widgets.pause = new PauseButton(&parent);
  widgets.buttons[static_cast<std::size_t>(TransportButton::Pause)] = widgets.pause;
  widgets.slider = new VolumeSlider(Qt::Vertical, &parent);
  // Position 0 at the top is the loudest; the arrow keys move the thumb the way they point.
  widgets.slider->setRange(0, 127);
  widgets.slider->setInvertedAppearance(true);
  widgets.slider->setInvertedControls(true);
  return widgets;
}

}  // namespace velvasto::gui
