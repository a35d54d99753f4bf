#pragma once
// The folders the file dialogs open in, remembered in the settings file: one key for list
// files, one for song files (both the main window's dialogs and the list editor's).

#include <filesystem>
#include <string_view>

namespace velvasto {

inline constexpr std::string_view kListFileFolderKey = "List File Folder";
// The key is spelled with a capital I.
inline constexpr std::string_view kPlayFileFolderKey = "Play FIle Folder";

// The folder remembered under `key`, else the executable's folder.
std::filesystem::path RememberedFolder(std::string_view key);
// Remembers `folder` under `key`; false when the settings file cannot be written.
bool StoreRememberedFolder(std::string_view key, const std::filesystem::path& folder);

}  // namespace velvasto
