#pragma once
// The program's own path and looking files up by name or pattern.

#include <filesystem>
#include <optional>
#include <string_view>

namespace velvasto {

// The full path of the running executable (empty if the system cannot tell).
std::filesystem::path ExecutablePath();

// The absolute path of the first regular file (symbolic links followed) that matches
// `nameOrPattern`, in name order, or nullopt when none does. Wild cards stand only in the file
// name, never in the folders before it: the search looks into the one folder named, reading it
// once. '*' stands for any run of characters and '?' for one character, neither for a leading
// '.'; '[', ']' and '\' are ordinary characters of a file name.
std::optional<std::filesystem::path> FindFile(std::string_view nameOrPattern);

}  // namespace velvasto
