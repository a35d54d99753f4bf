#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velvasto {

int OpenRegularFile(const std::filesystem::path& path) {
  // Looked at before opening, so that a device is not even opened; and again on the open
  // descriptor, in case the name was given to something else in between. O_NONBLOCK keeps the
  // open of a FIFO from waiting for a writer.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return -1;
  if (!S_ISREG(status.st_mode)) {
    errno = EINVAL;
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return -1;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

FilePtr OpenRegularStream(const std::filesystem::path& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  FilePtr file(::fdopen(fd, "rb"));
  if (!file) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return file;
}

}  // namespace velvasto
