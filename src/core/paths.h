#pragma once
// The program's own path and looking files up by name or pattern.

#include <filesystem>
#include <optional>
#include <string_view>

namespace velvasto {

// The full path of the running executable (empty if the system cannot tell).
std::filesystem::path ExecutablePath();

// The absolute path of the first regular file (symbolic links followed) that matches
// `nameOrPattern`, in name order, or nullopt when none does. Only '*' and '?' are wild cards;
// '[' , ']' and '\' are ordinary characters of a file name.
std::optional<std::filesystem::path> FindFile(std::string_view nameOrPattern);

}  // namespace velvasto
