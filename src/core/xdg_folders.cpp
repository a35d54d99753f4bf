#include "core/xdg_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace velvasto {
namespace {

namespace fs = std::filesystem;

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? fs::path(user->pw_dir) : fs::path();
}

// The folder named by `variable` when it holds an absolute path (the rules ignore a relative
// one), else `fallback` under the home folder.
fs::path BaseFolder(const char* variable, const fs::path& fallback) {
  if (const char* value = std::getenv(variable); value != nullptr && fs::path(value).is_absolute()) return value;
  return HomeFolder() / fallback;
}

}  // namespace

fs::path UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }

fs::path UserDataFolder() { return BaseFolder("XDG_DATA_HOME", fs::path(".local") / "share"); }

}  // namespace velvasto
