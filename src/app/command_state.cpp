#include "app/command_state.h"

#include "app/velvasto_app.h"

namespace velvasto {

namespace {

CommandState Enabled(bool enabled) { return {.enabled = enabled, .checked = false, .caption = {}}; }
// The mode commands are always enabled and checked when their value is in force.
CommandState Checked(bool checked) { return {.enabled = true, .checked = checked, .caption = {}}; }

}  // namespace

CommandState QueryCommand(CommandId command, const CVelvastoApp& app) {
  const bool stopped = app.playState == PlayState::Stopped;
  const bool playing = app.playState == PlayState::Playing;
  const bool paused = app.playState == PlayState::Paused;
  const bool listEmpty = app.playList.Empty();
  const SettingsBlock& settings = app.settings;
  switch (command) {
    case CommandId::Play:
      return Enabled(!listEmpty && stopped);
    case CommandId::Stop:
      return Enabled(playing);
    case CommandId::Rewind:
      return Enabled(!stopped);
    case CommandId::FastForward:
      return Enabled(!stopped && app.listPlaying);
    case CommandId::Pause:
      return {.enabled = !stopped, .checked = paused, .caption = paused ? kRestartCaption : kPauseCaption};
    case CommandId::JumpToSong:
    case CommandId::EditList:
    case CommandId::SaveListAs:
      return Enabled(!listEmpty);
    case CommandId::SaveList:
      return Enabled(app.playList.Modified());
    case CommandId::SongProperties:
      return Enabled(!stopped);
    case CommandId::MidiPortSettings:
    case CommandId::TimerPeriod:
    case CommandId::ControlFilePort:
    case CommandId::PlayBehaviour:
      return Enabled(stopped);
    case CommandId::NewList:
    case CommandId::OpenList:
    case CommandId::SelectOneSong:
    case CommandId::Patchbay:
    case CommandId::FileAssociation:
      return Enabled(true);
    case CommandId::MonitorOnePanel:
      return Checked(settings.monitorMode == 0);
    case CommandId::MonitorTwoPanels:
      return Checked(settings.monitorMode == 1);
    case CommandId::MonitorPortA:
      return Checked(settings.monitorPort == 0);
    case CommandId::MonitorPortB:
      return Checked(settings.monitorPort == 1);
    case CommandId::ListNoRepeat:
      return Checked(settings.loopMode == 0);
    case CommandId::ListRepeat:
      return Checked(settings.loopMode == 1);
    case CommandId::ListRandom:
      return Checked(settings.loopMode == 2);
    case CommandId::SingleRepeatOff:
      return Checked(app.singleRepeat == 0);
    case CommandId::SingleRepeatOn:
      return Checked(app.singleRepeat == 1);
    case CommandId::DropMakesNewList:
      return Checked(settings.ddMode == 0);
    case CommandId::DropAppends:
      return Checked(settings.ddMode == 1);
  }
  return {};
}

}  // namespace velvasto
