#pragma once
// The player controller: the brain of the main view. It turns commands, open requests, dropped
// files, the volume slider and the engine's notifications into song-slot operations and changes
// of the application state, and tells the window what to show through PlayerView, the meters
// through MonitorSink, and the user through UserPrompt. The desktop shell attaches its widgets
// to it; velvasto-cli plays through it, live or on virtual time.
//
// Single-threaded: everything runs on the owner's thread. The engine's notifications arrive on
// its own threads and wait in a queue; `wake` (given at construction, run on the posting
// thread) tells the owner to call ProcessNotifications.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/command_state.h"
#include "app/monitor_router.h"
#include "app/monitor_sink.h"
#include "app/notification_queue.h"
#include "app/player_status.h"
#include "app/player_view.h"
#include "app/song_slot.h"
#include "app/user_prompt.h"
#include "app/velvasto_app.h"
#include "midiout/device_catalog.h"

namespace velvasto {

// The main window's plain title.
inline constexpr std::string_view kMainWindowTitle = "Velvasto for Windows Version4";
// What precedes the text of an error the engine reported from its threads.
inline constexpr std::string_view kEngineErrorPreamble = "マルチメディアタイマコールバック関数内でエラーが発生しました。";

// "<file name> - Velvasto for Windows Version4": the title while a song of that file plays.
std::string MainWindowTitleFor(const std::filesystem::path& path);

class PlayerController {
 public:
  // Where the controller's parts come from. `devices` makes the output devices of the active port
  // choice; `timing` is what the engines run on; `loader` loads song files (LoadSong when none
  // is given).
  struct Parts {
    CVelvastoApp& app;
    MidiDeviceCatalog& devices;
    PlaybackTiming timing;
    PlayerView& view;
    MonitorSink& monitor;
    UserPrompt& prompt;
    SongLoader loader = nullptr;
  };

  PlayerController(const Parts& parts, std::function<void()> wake = nullptr);
  // Stops a loaded song; failures are not reported then.
  ~PlayerController();
  PlayerController(const PlayerController&) = delete;
  PlayerController& operator=(const PlayerController&) = delete;

  // The view is created: plain title, volume display and slider at "Volume Value", the
  // application's open request processed as the program's start-up, layout.
  void Open();

  // Enabled, checked and caption of a command in the present state.
  CommandState Query(CommandId command) const { return QueryCommand(command, app_); }
  // Runs `command` when it is enabled and is the controller's own; false otherwise. The settings
  // dialogs (MIDI ports, timer period, control-file port, play behaviour, patchbay, file
  // association) and the list editor belong to the window.
  bool Execute(CommandId command);

  // Processes the application's open request: from the command line at start-up
  // (`fromStartUp`), or handed over by a later start.
  void ProcessOpenRequest(bool fromStartUp);
  // Files dropped on the main window, in their order.
  void DropFiles(std::span<const std::filesystem::path> paths);
  // The main window is asked to close: a modified list may be saved first (false when the user
  // cancels or the save fails: the window stays), then a loaded song is stopped.
  bool PrepareToClose();

  // The first half of "new list": a modified list may be saved first, then the list is cleared.
  // False when the user cancels; the window then does not open the list editor.
  bool ClearListForNewList();
  // The list editor was closed with OK, after "new list" (`newList`) or "edit list".
  void ListEditorAccepted(bool newList);

  // The volume slider moved to `volume` (127 − its position).
  void SetVolume(int volume);
  // The time meter asks for a position in whole seconds; ignored while stopped.
  void Seek(std::uint32_t seconds);

  // Owner thread: handles every notification the engine has posted since the last call.
  void ProcessNotifications();

  // For the displays.
  PlayerStatus Status() const;
  const std::optional<SongInfo>& SongInformation() const { return slot_.Info(); }
  // The loaded song, or null, and its file.
  const CMIDIStream* Song() const { return slot_.Song(); }
  std::filesystem::path SongPath() const { return slot_.SongPath(); }
  // Changes whenever a song starts or starts again.
  std::uint64_t StartNumber() const { return slot_.CurrentStart(); }

 private:
  // Starts `path` as the view's one song (patchbay switch, slot play, meters, buttons, volume,
  // map display, property window). False when it did not start (the error has been shown).
  bool PlaySong(const std::filesystem::path& path);
  enum class ListStart {
    Started,
    FilesFailed,     // no entry started: each failed on its file; the order has moved past them
    PlaybackFailed,  // the devices or the engine failed: any other entry would fail the same way
  };
  // Plays the list's current entry, resetting the order first when asked. An entry whose file
  // cannot be loaded is passed over for the next one by the play order, until one starts or as
  // many have failed in a row as the list holds.
  ListStart PlayCurrentEntry(bool resetOrder);
  // Takes the next entry by the play order and plays it as PlayCurrentEntry does; else the
  // plain title.
  void PlayNextEntry();
  // Ends play: slot stop, meters cleared, default port choice back, control-file progress and
  // map display cleared; closes the program when `songFinished` and close after play are set.
  void StopSong(bool songFinished);
  void StopIfLoaded(bool songFinished);
  // Stop, then the information record cleared and the plain title.
  void StopAndClearTitle(bool songFinished);

  void PlayCommand();
  void JumpCommand();
  void SelectOneSongCommand();
  void OpenListCommand();
  void SaveListCommand();
  // Sets a mode value and lays out (and repaints, for the monitor modes).
  void SetMode(std::int32_t& value, std::int32_t mode, bool repaint);
  LoopMode Order() const;

  // A modified list may be dropped: asks 64000; Yes saves it under a chosen name. False when
  // the action is to be abandoned (Cancel, or the save did not happen).
  bool ReleaseModifiedList();
  // "Save list as": the save dialog, the folder remembered, the list written. False when
  // cancelled or failed (the error has been shown).
  bool SaveListAs();
  // Appends the songs and list files of `paths` to the list (the open request's and the drop's
  // rule); `afterEach` runs after each path. A list file marks the list modified when the list
  // was not empty before (and, with `onlyWhenGrown`, the file added entries). Errors end the
  // loop and are shown.
  template <typename AfterEach>
  void AddToList(std::span<const std::filesystem::path> paths, bool onlyWhenGrown, AfterEach&& afterEach);

  void OnSongEnd();
  void OnEngineError(std::uint32_t errorClass, std::int32_t code);
  void OnMonitorEvents();
  void OnControlBlock(const MonitorEntry& entry);

  // Runs a transport operation of the slot. After a failure (shown by the slot) the song is
  // stopped and false returned.
  template <typename Operation>
  bool Transport(Operation&& operation);

  // A folder remembered under `key`, else the executable's folder.
  std::filesystem::path RememberedFolder(std::string_view key) const;
  // Remembers `folder` under `key`; false (error 62012 shown) when it cannot be written.
  bool RememberFolder(std::string_view key, const std::filesystem::path& folder);
  void ShowError(const std::string& text) { prompt_.ShowError(text); }

  CVelvastoApp& app_;
  PlayerView& view_;
  MonitorSink& monitor_;
  UserPrompt& prompt_;
  NotificationQueue notifications_;
  MonitorRouter router_;
  CSongSlot slot_;
  std::vector<MonitorEntry> monitorEntries_;
};

}  // namespace velvasto
