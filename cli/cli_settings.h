#pragma once
// The settings velvasto-cli works with: those of the desktop program, from the settings file
// "velvasto.ini" beside the executables (or wherever the settings location rules put it).

#include <cstdint>

#include "core/settings_block.h"
#include "engine/playback_engine.h"
#include "song/song_settings.h"

namespace velvasto::cli {

// Locates the settings file, makes it the process's settings file and reads the settings block.
SettingsBlock LoadSettings();

// What a reader needs, for the port count of the current port choice.
SongSettings SongSettingsFor(const SettingsBlock& block);

// How a single song starts: the master volume "Volume Value" and the reset messages switched on.
StartOptions StartOptionsFor(const SettingsBlock& block);

// "Timer Period" in milliseconds (default 5), kept within the timer's range of 1 to 20.
std::uint32_t TimerPeriodFromSettings();

}  // namespace velvasto::cli
