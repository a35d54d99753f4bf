#pragma once
// The program's help page: an HTML page of our own, shipped with the program.

#include <filesystem>
#include <optional>

namespace velvasto::gui {

// The help page of the program at `executable`: help/index.html beside it (a build, an unpacked
// copy), else the installed one in ../share/velvasto/help/ from its folder; nothing when
// neither exists.
std::optional<std::filesystem::path> FindHelpPage(const std::filesystem::path& executable);

}  // namespace velvasto::gui
