#include "cli/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace velvasto::cli {

void KeepStandardDescriptorsTaken() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free descriptor is the one missing; a program left without even /dev/null
    // runs as it is.
    const int placeholder = ::open("/dev/null", O_RDONLY);
    if (placeholder >= 0 && placeholder != fd) ::close(placeholder);
  }
}

int FinishStandardOutput(int writeError) {
  errno = 0;
  if (writeError == 0 && std::fflush(stdout) == 0 && !std::ferror(stdout)) return kExitOk;
  const int error = writeError != 0 ? writeError : errno != 0 ? errno : EIO;
  std::fprintf(stderr, "standard output: %s\n", std::strerror(error));
  return kExitFileError;
}

}  // namespace velvasto::cli
