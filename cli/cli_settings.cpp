#include "cli/cli_settings.h"

#include <algorithm>

#include "core/cini_file.h"
#include "core/paths.h"
#include "core/settings_location.h"

namespace velvasto::cli {

SettingsBlock LoadSettings() {
  // Share the desktop program's settings: locate them as if this were "velvasto".
  CINIFile::SetSettingsPath(LocateSettingsFile(ExecutablePath().parent_path() / "velvasto"));
  SettingsBlock block;
  block.Load(CINIFile());
  return block;
}

SongSettings SongSettingsFor(const SettingsBlock& block) {
  const int portCount = CINIFile().ReadInt("MIDI Port Num", 1) == 2 ? 2 : 1;
  return MakeSongSettings(block, portCount);
}

StartOptions StartOptionsFor(const SettingsBlock& block) {
  StartOptions options;
  options.masterVolume = static_cast<std::uint32_t>(std::clamp(block.volumeValue, 0, 127));
  options.resets = ResetSwitchesOf(block, false);
  return options;
}

std::uint32_t TimerPeriodFromSettings() {
  return static_cast<std::uint32_t>(std::clamp(CINIFile().ReadInt("Timer Period", 5), 1, 20));
}

}  // namespace velvasto::cli
