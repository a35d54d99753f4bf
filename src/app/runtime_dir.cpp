#include "app/runtime_dir.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"

namespace velvasto {

std::filesystem::path InstanceRuntimeDirectory() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
    return runtime;
  }
  const std::filesystem::path folder = "/tmp/velvasto-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw CErrMessage(errc::kMutexCreateFailed);
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 077) != 0) {
    throw CErrMessage(errc::kMutexCreateFailed);
  }
  return folder;
}

}  // namespace velvasto
