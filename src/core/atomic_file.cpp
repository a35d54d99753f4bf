#include "core/atomic_file.h"

#include <cerrno>
#include <cstdio>

#include "core/errors.h"
#include "core/replacement_file.h"

namespace velvasto {

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  try {
    ReplacementFile file(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.Stream()) != bytes.size()) throw CSystemErrMessage(errno != 0 ? errno : EIO);
    file.Commit();
    return true;
  } catch (const CSystemErrMessage& error) {
    errno = error.Code();
    return false;
  }
}

}  // namespace velvasto
