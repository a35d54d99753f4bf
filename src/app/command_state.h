#pragma once
// The commands of the main view (menu items, accelerators and transport buttons share these
// ids) and when each is enabled, checked and how it is captioned, as a function of the
// application state alone, so that a window only renders them.

#include <cstdint>
#include <string_view>

namespace velvasto {

class CVelvastoApp;

enum class CommandId : std::int32_t {
  NewList = 57600,
  OpenList = 57601,
  EditList = 32771,
  SaveList = 57603,
  SaveListAs = 57604,
  SelectOneSong = 32772,
  SongProperties = 32809,
  Play = 32775,
  Stop = 32776,
  Rewind = 32778,
  FastForward = 32777,
  Pause = 32779,
  JumpToSong = 32810,
  MonitorOnePanel = 32782,
  MonitorTwoPanels = 32783,
  MonitorPortA = 32780,
  MonitorPortB = 32781,
  ListNoRepeat = 32793,
  ListRepeat = 32787,
  ListRandom = 32788,
  SingleRepeatOff = 32774,
  SingleRepeatOn = 32789,
  DropMakesNewList = 32791,
  DropAppends = 32790,
  MidiPortSettings = 32773,
  TimerPeriod = 32784,
  ControlFilePort = 32785,
  PlayBehaviour = 32792,
  Patchbay = 32795,
  FileAssociation = 32794,
};

inline constexpr std::string_view kPauseCaption = "PAUSE(&S)\tS";
inline constexpr std::string_view kRestartCaption = "RESTART(&S)\tS";

struct CommandState {
  bool enabled = false;
  // The menu item's check mark; for PAUSE, whose menu item carries none, the button's paused
  // lamp.
  bool checked = false;
  // The menu caption when the state decides it (PAUSE / RESTART); empty otherwise.
  std::string_view caption;

  bool operator==(const CommandState&) const = default;
};

CommandState QueryCommand(CommandId command, const CVelvastoApp& app);

}  // namespace velvasto
