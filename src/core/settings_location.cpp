#include "core/settings_location.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "core/xdg_folders.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

// An environment variable's value, empty when unset.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool IsWritableFolder(const fs::path& folder) {
  return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

fs::path LocateSettingsFile(const fs::path& executable) {
  const std::string overridden = Environment("VELVASTO_INI");
  if (!overridden.empty()) return overridden;

  const fs::path beside = fs::path(executable).replace_extension(".ini");
  std::error_code ec;
  if (!executable.empty() && (fs::exists(beside, ec) || IsWritableFolder(beside.parent_path()))) return beside;
  const fs::path name = executable.empty() ? fs::path("velvasto.ini") : beside.filename();
  return UserConfigFolder() / "velvasto" / name;
}

}  // namespace velvasto
