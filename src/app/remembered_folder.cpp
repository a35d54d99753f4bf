#include "app/remembered_folder.h"

#include <string>

#include "core/cini_file.h"
#include "core/paths.h"

namespace velvasto {

std::filesystem::path RememberedFolder(std::string_view key) {
  const std::string folder = CINIFile().ReadString(key, "");
  return folder.empty() ? ExecutablePath().parent_path() : std::filesystem::path(folder);
}

bool StoreRememberedFolder(std::string_view key, const std::filesystem::path& folder) {
  return CINIFile().WriteString(key, folder.string());
}

}  // namespace velvasto
