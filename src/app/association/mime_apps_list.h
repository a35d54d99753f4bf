#pragma once
// Reading and editing the user's mimeapps.list, where the desktop keeps the default application
// each file type was given. The association tool only ever sets a default; whether the user's
// file names ours, and taking ours away again, is done here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velvasto {

// The first application the group "[Default Applications]" of the mimeapps.list file `list`
// names for `mimeType`; nothing when the file or the line is not there.
std::optional<std::string> DefaultApplicationIn(const std::filesystem::path& list, std::string_view mimeType);

// Takes `desktopFile` out of the default applications of `mimeType` in the group
// "[Default Applications]" of the mimeapps.list file `list`; the type's line goes when nothing
// is left on it. Every other line stays as it was. True when done or when there was nothing to
// take out (no such file, line or entry); false when the file cannot be read or written (it is
// then unchanged).
bool RemoveDefaultApplication(const std::filesystem::path& list, std::string_view mimeType,
                              std::string_view desktopFile);

}  // namespace velvasto
