#pragma once
// The settings velvasto-cli works with: those of the desktop program, from the settings file
// "velvasto.ini" beside the executables (or wherever the settings location rules put it).

#include "core/settings_block.h"
#include "song/song_settings.h"

namespace velvasto::cli {

// Locates the settings file, makes it the process's settings file and reads the settings block.
SettingsBlock LoadSettings();

// What a reader needs, for the port count of the current port choice.
SongSettings SongSettingsFor(const SettingsBlock& block);

}  // namespace velvasto::cli
