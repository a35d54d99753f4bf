#pragma once
// What the panel's status displays show of the player's state, read from the application and
// the song information the player holds.

#include <optional>

#include "app/velvasto_app.h"
#include "gui/monitor/monitor_panel.h"
#include "song/song_info.h"

namespace velvasto::gui {

// The list's length, the held song's time base (0 without one), the monitor port, single
// repeat, the list order, the drop mode, and the label of the port set the patchbay chose
// (none while the patchbay is off or has chosen none).
PanelStatus PanelStatusOf(const CVelvastoApp& app, const std::optional<SongInfo>& song);

}  // namespace velvasto::gui
