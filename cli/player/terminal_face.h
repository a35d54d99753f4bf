#pragma once
// What the terminal player shows of the player controller: the status line (position, tempo,
// volume, list place) and the errors, printed above it on standard error. The window effects of
// the desktop program (titles, lamps, meters, dialogs) have no counterpart in a terminal; the
// status line is drawn from the controller's state instead, and while a control file is sent
// it shows that ("CM6 FILE SENDING" and a bar) in place of the sending dialog.
//
// Questions: the terminal player keeps no list of its own to save (`list new` writes lists), so
// it answers No to the question about a modified list; it offers no file dialogs.

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/control_file_progress.h"
#include "app/monitor_sink.h"
#include "app/player_controller.h"
#include "app/player_view.h"
#include "app/user_prompt.h"
#include "cli/terminal/status_line.h"

namespace velvasto::cli {

class TerminalFace final : public PlayerView, public MonitorSink, public UserPrompt {
 public:
  // Errors go to `errors` (standard error), through the status line when it is drawn in place
  // there. `firstSong` names the song in the hint of a machine without audio output.
  TerminalFace(StatusLine& errors, std::filesystem::path firstSong)
      : errors_(errors), firstSong_(std::move(firstSong)) {}

  // The status line for the controller's present state (when a song is loaded).
  void ShowStatus(const PlayerController& controller, const CVelvastoApp& app);
  // The progress line of playing on virtual time: the list place, the song time played of the
  // song's length, a bar.
  void ShowProgress(const PlayerController& controller, const CVelvastoApp& app);

  // The controller asked to close the program (the one song of the start has ended).
  bool CloseRequested() const { return closeRequested_; }
  // Whether any error was shown.
  bool ErrorsShown() const { return errorsShown_; }

  // UserPrompt
  void ShowError(const std::string& text) override;
  void ShowDeviceError(const CDeviceErrMessage& error) override;
  Answer Ask(const std::string&) override { return Answer::No; }
  std::optional<std::filesystem::path> ChooseListFileToSave(const std::filesystem::path&,
                                                            const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ChooseListFileToOpen(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> ChooseSongFile(const std::filesystem::path&) override { return std::nullopt; }
  std::optional<int> ChooseListEntry(const CPlayList&) override { return std::nullopt; }

  // PlayerView: only closing means something here.
  void CloseMainWindow() override { closeRequested_ = true; }
  // The status line shows the control file being sent instead of the song's position.
  bool OpenControlFileProgress(int kind, std::uint32_t total) override {
    sending_.Open(kind, total);
    return true;
  }
  void SetWindowTitle(const std::string&) override {}
  void RepaintTitleArea() override {}
  void Repaint() override {}
  void LayOut() override {}
  void CommandStatesChanged() override {}
  void SetPlayLamp(bool) override {}
  void ShowBusy(bool) override {}
  void ResetMetersForPlay() override {}
  void ResetMetersForRepeat() override {}
  void ClearMeters() override {}
  void SetVolumeSlider(int) override {}
  void ShowVolumeValue(int) override {}
  void SetMapDisplay(int) override {}
  void RefreshSongProperties(const SongInfo*) override {}
  void ShowSongProperties(const SongInfo*) override {}
  void SetControlFileProgress(std::uint32_t sent) override { sending_.Set(sent); }
  void CloseControlFileProgress() override { sending_.Close(); }

  // MonitorSink: the status line reads tempo and position from the controller's status.
  void NoteEvent(const MonitorEntry&) override {}
  void ChannelVolume(const MonitorEntry&) override {}
  void ChannelExpression(const MonitorEntry&) override {}
  void Tempo(std::uint32_t) override {}
  void MasterVolume(std::uint32_t, std::uint32_t) override {}
  void RepaintPianoRoll(std::uint32_t) override {}
  void PlayTime(std::uint32_t) override {}

 private:
  StatusLine& errors_;
  std::filesystem::path firstSong_;
  bool closeRequested_ = false;
  bool errorsShown_ = false;
  ControlFileProgress sending_;
};

}  // namespace velvasto::cli
