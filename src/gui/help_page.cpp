#include "gui/help_page.h"

#include <system_error>

namespace velvasto::gui {

std::optional<std::filesystem::path> FindHelpPage(const std::filesystem::path& executable) {
  const std::filesystem::path folder = executable.parent_path();
  for (const std::filesystem::path& candidate :
       {folder / "help" / "index.html", folder.parent_path() / "share" / "velvasto" / "help" / "index.html"}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
  }
  return std::nullopt;
}

}  // namespace velvasto::gui
