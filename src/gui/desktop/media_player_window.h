#pragma once
// What the desktop's media controls ask of the main window: come to the front, close, the
// volume slider, and running a command of the player as the window runs its own.

#include <functional>

#include "app/player_controller.h"

namespace velvasto::gui {

class MediaPlayerWindow {
 public:
  virtual ~MediaPlayerWindow() = default;

  // Brings the main window to the front (restored when minimised).
  virtual void Raise() = 0;
  // Closes the program as the main window's close does (a modified list may be saved first).
  virtual void Quit() = 0;
  // The volume slider's volume 0..127.
  virtual int Volume() const = 0;
  // Moves the volume slider to `volume` 0..127 with the effect of the user moving it.
  virtual void SetVolume(int volume) = 0;
  // Runs `operation` on the player as one operation of the window: no engine notification is
  // handled inside a dialog it opens, and what it throws is shown, never passed on.
  virtual void Operate(const std::function<void(PlayerController&)>& operation) = 0;
};

}  // namespace velvasto::gui
