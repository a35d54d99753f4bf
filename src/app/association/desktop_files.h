#pragma once
// The files that make the program known to the desktop. They are kept in resources/desktop/,
// installed with the program, and built in here as well, so that an unpacked program can put
// them in the user's own folders when the user associates files with it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velvasto {

// The desktop entry as installed (it runs "velvasto" from PATH).
std::string_view InstalledDesktopEntry();
// The shared-mime-info package: the program's own file types and what it adds to audio/midi.
std::string_view MimePackage();
// The program's icon, scalable.
std::string_view ScalableIcon();

// The installed desktop entry with its Exec line running `executable` (quoted as the Desktop
// Entry rules require). Nothing when the path cannot be written in an Exec line (a line break
// or a character that is not text).
std::optional<std::string> DesktopEntryRunning(const std::filesystem::path& executable);

}  // namespace velvasto
