// The player controller: play control, transport commands, the engine's notifications.

#include "app/player_controller.h"

#include <algorithm>

#include "app/remembered_folder.h"
#include "app/song_start.h"
#include "core/errors.h"
#include "engine/engine_notifications.h"

namespace velvasto {

namespace {

// The wait cursor for as long as the object lives.
class BusyCursor {
 public:
  explicit BusyCursor(PlayerView& view) : view_(view) { view_.ShowBusy(true); }
  ~BusyCursor() { view_.ShowBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  PlayerView& view_;
};

std::string EngineErrorText(std::uint32_t errorClass, std::int32_t code) {
  switch (static_cast<ErrorClass>(errorClass)) {
    case ErrorClass::Application:
      return CErrMessage(code).Message();
    case ErrorClass::System:
      return CSystemErrMessage(code).Message();
    case ErrorClass::Multimedia:
      return CMMSystemErrMessage(code).Message();
  }
  return {};
}

}  // namespace

std::string MainWindowTitleFor(const std::filesystem::path& path) {
  return path.filename().string() + " - " + std::string(kMainWindowTitle);
}

PlayerController::PlayerController(const Parts& parts, std::function<void()> wake)
    : app_(parts.app),
      view_(parts.view),
      monitor_(parts.monitor),
      prompt_(parts.prompt),
      notifications_(std::move(wake)),
      router_(parts.monitor),
      slot_(parts.app.playState, parts.timing, parts.devices, parts.prompt, notifications_, parts.loader) {}

PlayerController::~PlayerController() = default;

LoopMode PlayerController::Order() const { return static_cast<LoopMode>(app_.settings.loopMode); }

void PlayerController::Open() {
  view_.SetWindowTitle(std::string(kMainWindowTitle));
  view_.ShowVolumeValue(app_.settings.volumeValue);
  view_.SetVolumeSlider(app_.settings.volumeValue);
  view_.SetMapDisplay(0);
  ProcessOpenRequest(true);
  view_.LayOut();
  view_.CommandStatesChanged();
}

bool PlayerController::Execute(CommandId command) {
  if (!Query(command).enabled) return false;
  SettingsBlock& settings = app_.settings;
  switch (command) {
    case CommandId::Play:
      PlayCommand();
      break;
    case CommandId::Stop:
      StopAndClearTitle(true);
      break;
    case CommandId::Rewind:
      Transport([&] { slot_.Restart(SongStartFor(app_).options); });
      view_.Repaint();
      break;
    case CommandId::FastForward:
      StopSong(true);
      PlayNextEntry();
      break;
    case CommandId::Pause:
      if (app_.playState == PlayState::Playing) {
        Transport([&] { slot_.Pause(); });
      } else {
        Transport([&] { slot_.Resume(); });
      }
      break;
    case CommandId::JumpToSong:
      JumpCommand();
      break;
    case CommandId::SelectOneSong:
      SelectOneSongCommand();
      break;
    case CommandId::SongProperties:
      view_.ShowSongProperties(slot_.Info() ? &*slot_.Info() : nullptr);
      break;
    case CommandId::OpenList:
      OpenListCommand();
      break;
    case CommandId::SaveList:
      SaveListCommand();
      break;
    case CommandId::SaveListAs:
      SaveListAs();
      break;
    case CommandId::MonitorOnePanel:
      SetMode(settings.monitorMode, 0, true);
      break;
    case CommandId::MonitorTwoPanels:
      SetMode(settings.monitorMode, 1, true);
      break;
    case CommandId::MonitorPortA:
      SetMode(settings.monitorPort, 0, true);
      break;
    case CommandId::MonitorPortB:
      SetMode(settings.monitorPort, 1, true);
      break;
    case CommandId::ListNoRepeat:
      SetMode(settings.loopMode, 0, false);
      break;
    case CommandId::ListRepeat:
      SetMode(settings.loopMode, 1, false);
      break;
    case CommandId::ListRandom:
      SetMode(settings.loopMode, 2, false);
      break;
    case CommandId::SingleRepeatOff:
      SetMode(app_.singleRepeat, 0, false);
      break;
    case CommandId::SingleRepeatOn:
      SetMode(app_.singleRepeat, 1, false);
      break;
    case CommandId::DropMakesNewList:
      SetMode(settings.ddMode, 0, false);
      break;
    case CommandId::DropAppends:
      SetMode(settings.ddMode, 1, false);
      break;
    case CommandId::NewList:
    case CommandId::EditList:
    case CommandId::MidiPortSettings:
    case CommandId::TimerPeriod:
    case CommandId::ControlFilePort:
    case CommandId::PlayBehaviour:
    case CommandId::Patchbay:
    case CommandId::FileAssociation:
      return false;
  }
  view_.CommandStatesChanged();
  return true;
}

void PlayerController::SetMode(std::int32_t& value, std::int32_t mode, bool repaint) {
  value = mode;
  view_.LayOut();
  if (repaint) view_.Repaint();
}

bool PlayerController::PlaySong(const std::filesystem::path& path) {
  const BusyCursor busy(view_);
  if (app_.portSets.Use()) {
    const int set = app_.portSets.Match(path.string());
    if (set >= 0) app_.activePort = static_cast<const CMIDIPort&>(app_.portSets.Set(set));
  }
  const SongStart start = SongStartFor(app_);
  try {
    slot_.Play(path, app_.activePort, start);
  } catch (...) {
    // Shown by the slot. A port set the patchbay chose must not outlive the song it was for.
    app_.activePort = app_.defaultPort;
    view_.CommandStatesChanged();
    return false;
  }
  router_.ClearLocks();
  view_.ResetMetersForPlay();
  view_.SetPlayLamp(true);
  view_.CommandStatesChanged();
  view_.SetVolumeSlider(static_cast<int>(start.options.masterVolume));
  view_.SetMapDisplay(slot_.Info()->mapResult);
  view_.RefreshSongProperties(&*slot_.Info());
  return true;
}

PlayerController::ListStart PlayerController::PlayCurrentEntry(bool resetOrder) {
  CPlayList& list = app_.playList;
  if (resetOrder) list.ResetOrder(Order());
  ListStart result = ListStart::FilesFailed;
  for (int attempt = 0; attempt < list.Count() && list.CurrentIndexValid(); ++attempt) {
    const std::filesystem::path path = list.Entry(list.CurrentIndex()).path;
    view_.SetWindowTitle(MainWindowTitleFor(path));
    app_.listPlaying = true;
    if (PlaySong(path)) {
      result = ListStart::Started;
      break;
    }
    if (!slot_.FileFailed()) {
      result = ListStart::PlaybackFailed;
      break;
    }
    if (!list.NextEntry(Order())) break;
  }
  view_.Repaint();
  return result;
}

void PlayerController::PlayNextEntry() {
  if (app_.playList.NextEntry(Order())) {
    PlayCurrentEntry(false);
    return;
  }
  slot_.ClearInfo();
  view_.RepaintTitleArea();
  view_.SetWindowTitle(std::string(kMainWindowTitle));
  view_.Repaint();
}

void PlayerController::PlayCommand() {
  if (!app_.playList.CurrentIndexValid()) app_.playList.ResetOrder(Order());
  PlayCurrentEntry(false);
}

void PlayerController::JumpCommand() {
  const std::optional<int> choice = prompt_.ChooseListEntry(app_.playList);
  if (!choice || *choice < 0) return;
  StopIfLoaded(false);
  if (*choice < app_.playList.Count()) app_.playList.SetCurrentIndex(*choice);
  PlayCurrentEntry(false);
}

void PlayerController::SelectOneSongCommand() {
  const std::optional<std::filesystem::path> path = prompt_.ChooseSongFile(RememberedFolder(kPlayFileFolderKey));
  if (!path) return;
  app_.closeAfterPlay = false;
  StopIfLoaded(true);
  app_.listPlaying = false;
  if (!RememberFolder(kPlayFileFolderKey, path->parent_path())) return;
  PlaySong(*path);
  view_.SetWindowTitle(MainWindowTitleFor(*path));
  view_.Repaint();
}

void PlayerController::StopSong(bool songFinished) {
  try {
    slot_.Stop();
  } catch (...) {
    // Shown by the slot, which has let the song go all the same.
  }
  view_.ClearMeters();
  view_.SetPlayLamp(false);
  view_.CommandStatesChanged();
  if (app_.closeAfterPlay && songFinished) view_.CloseMainWindow();
  // Undoes the patchbay's choice for the song.
  app_.activePort = app_.defaultPort;
  view_.CloseControlFileProgress();
  view_.SetMapDisplay(0);
}

void PlayerController::StopIfLoaded(bool songFinished) {
  if (app_.playState != PlayState::Stopped) StopSong(songFinished);
}

void PlayerController::StopAndClearTitle(bool songFinished) {
  StopSong(songFinished);
  slot_.ClearInfo();
  view_.RepaintTitleArea();
  view_.SetWindowTitle(std::string(kMainWindowTitle));
}

template <typename Operation>
bool PlayerController::Transport(Operation&& operation) {
  try {
    operation();
    return true;
  } catch (...) {
    // Shown by the slot. The engine may be half-way through the operation: end play.
    StopAndClearTitle(false);
    return false;
  }
}

void PlayerController::SetVolume(int volume) {
  volume = std::clamp(volume, 0, 127);
  view_.ShowVolumeValue(volume);
  if (app_.playState == PlayState::Stopped) return;
  if (!Transport([&] { slot_.SetVolume(static_cast<std::uint32_t>(volume)); })) return;
  CPlayList& list = app_.playList;
  if (!app_.listPlaying) {
    app_.settings.volumeValue = volume;
  } else if (list.CurrentIndexValid() && list.Entry(list.CurrentIndex()).volume != volume) {
    list.Entry(list.CurrentIndex()).volume = volume;
    list.SetModified(true);
    view_.CommandStatesChanged();
  }
}

void PlayerController::Seek(std::uint32_t seconds) {
  if (app_.playState == PlayState::Stopped) return;
  const BusyCursor busy(view_);
  Transport([&] { slot_.Seek(seconds); });
}

PlayerStatus PlayerController::Status() const {
  PlayerStatus status{.playState = app_.playState,
                      .masterVolume = static_cast<std::uint32_t>(std::clamp(app_.settings.volumeValue, 0, 127))};
  const PlaybackEngine* engine = slot_.Engine();
  if (engine == nullptr) return status;
  status.positionSeconds = engine->PositionSeconds();
  if (const auto& info = slot_.Info()) {
    status.lengthSeconds = static_cast<std::uint32_t>(std::min<std::uint64_t>(info->playTimeUs / 1'000'000, UINT32_MAX));
  }
  status.tempoBpm = engine->TempoBpm();
  status.masterVolume = engine->MasterVolume();
  status.songTimeUs = engine->SongTimeUs();
  return status;
}

void PlayerController::ProcessNotifications() {
  for (const EngineNotification& notification : notifications_.TakeAll()) {
    // What an earlier start of a song posted no longer applies.
    if (!slot_.Loaded() || notification.songStart != slot_.CurrentStart()) continue;
    switch (notification.message) {
      case UM_SONG_END:
        OnSongEnd();
        break;
      case UM_ENGINE_ERROR:
        OnEngineError(notification.wParam, notification.lParam);
        break;
      case UM_MONITOR_EVENTS:
        OnMonitorEvents();
        break;
      case UM_TIME_UPDATE:
        monitor_.PlayTime(notification.wParam);
        break;
      default:
        break;
    }
  }
}

void PlayerController::OnSongEnd() {
  if (app_.singleRepeat == 1) {
    if (!Transport([&] { slot_.Restart(SongStartFor(app_).options); })) return;
    router_.ClearLocks();
    view_.ResetMetersForRepeat();
    view_.CloseControlFileProgress();
    view_.CommandStatesChanged();
    view_.Repaint();
    return;
  }
  StopAndClearTitle(true);
  if (!app_.playList.Empty()) PlayNextEntry();
}

void PlayerController::OnEngineError(std::uint32_t errorClass, std::int32_t code) {
  StopSong(true);
  if (errorClass <= static_cast<std::uint32_t>(ErrorClass::Multimedia)) {
    ShowError(std::string(kEngineErrorPreamble) + "\n" + EngineErrorText(errorClass, code));
  }
  slot_.ClearInfo();
  view_.RepaintTitleArea();
  view_.SetWindowTitle(std::string(kMainWindowTitle));
}

void PlayerController::OnMonitorEvents() {
  slot_.TakeMonitorEntries(monitorEntries_);
  for (const MonitorEntry& entry : monitorEntries_) {
    if (!router_.Route(entry)) OnControlBlock(entry);
  }
  router_.RepaintTouchedRolls();
}

void PlayerController::OnControlBlock(const MonitorEntry& entry) {
  const SettingsBlock& settings = app_.settings;
  int kind = 0;
  int portSetting = 0;
  switch (entry.kind) {
    case MonitorKind::Cm6Begin:
      kind = 0;
      portSetting = settings.cm6Port;
      break;
    case MonitorKind::GsdBegin:
      kind = 1;
      portSetting = settings.gsdPort;
      break;
    case MonitorKind::Gsd2Begin:
      kind = 2;
      portSetting = settings.gsd2Port;
      break;
    case MonitorKind::Cm6End:
    case MonitorKind::GsdEnd:
    case MonitorKind::Gsd2End:
      view_.CloseControlFileProgress();
      view_.LayOut();
      return;
    case MonitorKind::BlockProgress:
      view_.SetControlFileProgress(entry.value);
      return;
    default:
      return;
  }
  // A CM-64 file keeps the port's master volume where it is for the rest of the song; a GS
  // sound-data file lets only GS master-volume messages through.
  if (portSetting == 1 || portSetting == 2) {
    router_.Lock(static_cast<std::uint32_t>(portSetting - 1), kind == 0 ? MonitorRouter::kCm6Lock : MonitorRouter::kGsLock);
  }
  view_.CloseControlFileProgress();
  if (!view_.OpenControlFileProgress(kind, entry.value)) ShowError(AppErrorText(errc::kModelessDialogFailed));
  view_.Repaint();
}

}  // namespace velvasto
