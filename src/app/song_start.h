#pragma once
// What a song is loaded and started with: the settings block, the port count of the port
// choice, and, while a list plays, the entry's own volume and map settings.

#include "app/song_slot.h"
#include "app/velvasto_app.h"
#include "core/settings_block.h"
#include "playlist/play_list.h"
#include "song/song_settings.h"

namespace velvasto {

// The reader's settings for a song of `entry` (null for a single song). An entry's map mode 0
// follows "Map Mode" and "Force Map"; 1 scans for the map; 2 forces the entry's own force map.
// The entry's 55 adjust adds to "55 Adjust": either one turns the correction on.
SongSettings SongSettingsFor(const SettingsBlock& settings, int portCount, const ListEntry* entry);

// The whole start of the next song as the application state asks for it: while a list plays,
// the current entry's settings and volume, else "Volume Value"; the reset switches; the timer
// period; the port count of the active port choice.
SongStart SongStartFor(const CVelvastoApp& app);

}  // namespace velvasto
