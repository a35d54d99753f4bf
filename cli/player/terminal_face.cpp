#include "cli/player/terminal_face.h"

#include <exception>
#include <optional>

#include "cli/output/no_audio_line.h"
#include "cli/terminal/status_format.h"

namespace velvasto::cli {
namespace {

// The place of the song playing in its list; none outside a list.
std::optional<ListPosition> ListPlace(const CVelvastoApp& app) {
  if (!app.listPlaying || !app.playList.CurrentIndexValid()) return std::nullopt;
  return ListPosition{.number = app.playList.CurrentIndex() + 1, .count = app.playList.Count()};
}

}  // namespace

void TerminalFace::ShowStatus(const PlayerController& controller, const CVelvastoApp& app) {
  const PlayerStatus player = controller.Status();
  if (player.playState == PlayState::Stopped || !errors_.InPlace()) return;
  if (sending_.Active()) {
    errors_.Show(FormatSendingProgress(sending_.Label(), sending_.Sent(), sending_.Total(), errors_.Columns()));
    return;
  }
  PlayStatus status;
  if (const auto& info = controller.SongInformation()) status.title = info->title;
  if (status.title.empty()) status.title = controller.SongPath().filename().string();
  status.positionSeconds = player.positionSeconds;
  status.lengthSeconds = player.lengthSeconds;
  status.tempoBpm = player.tempoBpm;
  status.volume = player.masterVolume;
  status.paused = player.playState == PlayState::Paused;
  status.list = ListPlace(app);
  errors_.Show(FormatPlayStatus(status, errors_.Columns()));
}

void TerminalFace::ShowProgress(const PlayerController& controller, const CVelvastoApp& app) {
  const PlayerStatus player = controller.Status();
  const auto& info = controller.SongInformation();
  if (player.playState == PlayState::Stopped || !info || !errors_.InPlace()) return;
  errors_.Show(FormatProgressLine(FormatListPlace(ListPlace(app)) + "Playing",
                                  std::uint64_t{player.positionSeconds} * 1'000'000, info->playTimeUs,
                                  errors_.Columns()));
}

void TerminalFace::ShowError(const std::string& text) {
  errorsShown_ = true;
  errors_.Print(text);
}

void TerminalFace::ShowDeviceError(const CDeviceErrMessage& error) {
  errorsShown_ = true;
  // The error classes have no virtual functions; the exception being handled tells the kind.
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const CNoAudioOutputErrMessage&) {
      errors_.Print(NoAudioOutputLine(firstSong_.string(), error.Detail()));
      return;
    } catch (...) {
      // Any other device error: its text and detail below.
    }
  }
  errors_.Print(error.Message());
  if (!error.Detail().empty()) errors_.Print(error.Detail());
}

}  // namespace velvasto::cli
