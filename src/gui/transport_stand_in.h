#pragma once
// Plain Qt push buttons and a plain slider standing in for the transport's bitmap buttons and the
// coloured volume slider until those are connected (transport_widgets.cpp makes one or the
// other). They carry what the view uses of them: the command id, the PLAY lamp, the PAUSE face.

#include <QPushButton>
#include <QSlider>

#include "app/command_state.h"

namespace velvasto::gui {

class StandInButton : public QPushButton {
 public:
  StandInButton(CommandId id, QWidget* parent);
  CommandId Command() const { return id_; }

 private:
  CommandId id_;
};

class StandInPlayButton final : public StandInButton {
 public:
  explicit StandInPlayButton(QWidget* parent) : StandInButton(CommandId::Play, parent) {}
  void SetLamp(bool on);
};

class StandInPauseButton final : public StandInButton {
 public:
  explicit StandInPauseButton(QWidget* parent) : StandInButton(CommandId::Pause, parent) {}
  void SetPaused(bool paused);
};

using PlayButton = StandInPlayButton;
using PauseButton = StandInPauseButton;
using VolumeSlider = QSlider;

}  // namespace velvasto::gui
