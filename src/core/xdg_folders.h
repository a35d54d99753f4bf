#pragma once
// The user's base folders of the freedesktop.org base directory rules.

#include <filesystem>

namespace velvasto {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::filesystem::path UserConfigFolder();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::filesystem::path UserDataFolder();

}  // namespace velvasto
