#pragma once
// The texts of the panel's small displays for the values they show.

#include <cstdint>
#include <string>
#include <string_view>

namespace velvasto::gui {

// "mm:ss" of a play position or length in whole seconds; minutes go on past 99.
std::string PlayTimeText(std::uint32_t seconds);
// The list play order: "Norm.", "Rep.", "Rand."; nothing for an order that does not exist.
std::string_view RepeatText(int loopMode);
// " A " for port A, " B " otherwise.
std::string_view MonitorPortText(int port);
// What a drop does: "New" list, or "Add" to it.
std::string_view DdModeText(int ddMode);
// The port set in use, "Default" when the patchbay chose none.
std::string_view PortSetText(std::string_view label);

}  // namespace velvasto::gui
