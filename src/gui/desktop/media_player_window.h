#pragma once
// What the desktop's media controls ask of the main window beyond the player's commands: come
// to the front, close, and the volume slider.

namespace velvasto::gui {

class MediaPlayerWindow {
 public:
  virtual ~MediaPlayerWindow() = default;

  // Brings the main window to the front (restored when minimised).
  virtual void Raise() = 0;
  // Closes the program as the main window's close does (a modified list may be saved first).
  virtual void Quit() = 0;
  // The volume slider's value 0..127 (127 − its position).
  virtual int Volume() const = 0;
  // Moves the volume slider to `volume` 0..127 with the effect of the user moving it.
  virtual void SetVolume(int volume) = 0;
};

}  // namespace velvasto::gui
