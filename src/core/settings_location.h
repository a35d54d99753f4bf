#pragma once
// Where the settings file of a running executable lives.

#include <filesystem>

namespace velvasto {

// The settings file for `executable`:
// 1. the path in the environment variable VELVASTO_INI, when it is set and not empty;
// 2. else the executable's path with its extension replaced by ".ini", when that file exists or
//    its folder is writable (a copy of the program kept together with its settings);
// 3. else "<executable name>.ini" in the folder "velvasto" of $XDG_CONFIG_HOME (an absolute
//    path), or of ~/.config when that variable is unset, empty or relative.
// The name follows the executable, so a renamed executable uses a settings file of its own.
std::filesystem::path LocateSettingsFile(const std::filesystem::path& executable);

}  // namespace velvasto
