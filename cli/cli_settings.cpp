#include "cli/cli_settings.h"

#include <algorithm>

#include "core/cini_file.h"
#include "core/paths.h"
#include "core/settings_location.h"
#include "midiout/device_registry.h"
#include "midiout/midi_port.h"

namespace velvasto::cli {

SettingsBlock LoadSettings() {
  // Share the desktop program's settings: locate them as if this were "velvasto".
  CINIFile::SetSettingsPath(LocateSettingsFile(ExecutablePath().parent_path() / "velvasto"));
  SettingsBlock block;
  block.Load(CINIFile());
  return block;
}

SongSettings SongSettingsFor(const SettingsBlock& block) {
  // The count the player would open, device presence and the first run's choice included.
  DeviceRegistry registry(SynthConfigFromSettings());
  CMIDIPort choice;
  choice.Load(registry);
  return MakeSongSettings(block, choice.PortCount());
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
