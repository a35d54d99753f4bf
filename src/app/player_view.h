#pragma once
// What the player controller asks of the window it drives: the effects that only a window has
// (titles, repainting, button lamp, meters reset, the control-file progress dialog). The desktop
// shell implements it with its widgets; the terminal player with its status line.

#include <cstdint>
#include <string>

#include "song/song_info.h"

namespace velvasto {

class PlayerView {
 public:
  virtual ~PlayerView() = default;

  // The main window's title.
  virtual void SetWindowTitle(const std::string& title) = 0;
  // Redraw the song information in the title area.
  virtual void RepaintTitleArea() = 0;
  // Redraw the whole view.
  virtual void Repaint() = 0;
  // Place and show the monitor windows by "Monitor Mode" and "Monitor Port", repaint the status
  // displays (volume, expression, file count, monitor port, loop, repeat, drop mode).
  virtual void LayOut() = 0;
  // The enabled, checked and caption states of the commands may have changed: query them again
  // (buttons, and the menu when it next opens).
  virtual void CommandStatesChanged() = 0;
  // The PLAY button's lamp, lit while a song is loaded.
  virtual void SetPlayLamp(bool lit) = 0;
  // The wait cursor, shown while a song starts or seeks.
  virtual void ShowBusy(bool busy) = 0;

  // A song starts: piano rolls cleared, volume and expression meters at 100, master volume meter
  // at 127, tempo meter at 120, time meter at 0.
  virtual void ResetMetersForPlay() = 0;
  // The same song starts again (single repeat): as ResetMetersForPlay, but the piano rolls keep
  // what they show.
  virtual void ResetMetersForRepeat() = 0;
  // Play stopped: piano rolls, volume and expression meters and master volume values cleared.
  virtual void ClearMeters() = 0;

  // The volume slider at `volume` 0..127 (its position is 127 − volume).
  virtual void SetVolumeSlider(int volume) = 0;
  // The volume display shows `volume` 0..127.
  virtual void ShowVolumeValue(int volume) = 0;
  // The instrument-map display: 0 none, 1 SC-55, 2 SC-88, 3 SC-88Pro.
  virtual void SetMapDisplay(int map) = 0;
  // Bring the song property window up to date; null when no song information is held.
  virtual void RefreshSongProperties(const SongInfo* info) = 0;
  // Bring the song property window up to date and show it.
  virtual void ShowSongProperties(const SongInfo* info) = 0;

  // The progress dialog of a control file that starts sending: kind 0 CM6, 1 GSD, 2 GSD2, with
  // the number of messages it holds. False when the dialog cannot be made.
  virtual bool OpenControlFileProgress(int kind, std::uint32_t total) = 0;
  virtual void SetControlFileProgress(std::uint32_t sent) = 0;
  // Closes the progress dialog if there is one.
  virtual void CloseControlFileProgress() = 0;

  // Close the program, as the main window's close does (the song that ended a single-song
  // start-up).
  virtual void CloseMainWindow() = 0;
};

}  // namespace velvasto
