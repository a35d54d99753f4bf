#include "cli/cli_settings.h"

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

}  // namespace velvasto::cli
