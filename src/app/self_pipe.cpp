#include "app/self_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/errors.h"

namespace velvasto {

SelfPipe::SelfPipe() {
  int fds[2];
  if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) throw CSystemErrMessage();
  read_ = UniqueFd(fds[0]);
  write_ = UniqueFd(fds[1]);
}

void SelfPipe::Notify(unsigned char byte) const noexcept {
  const int savedErrno = errno;  // a signal handler must leave errno as it found it
  [[maybe_unused]] const ssize_t written = ::write(write_.Get(), &byte, 1);
  errno = savedErrno;
}

int SelfPipe::Drain() const noexcept {
  int last = -1;
  unsigned char buffer[64];
  for (;;) {
    const ssize_t got = ::read(read_.Get(), buffer, sizeof buffer);
    if (got > 0) {
      last = buffer[got - 1];
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return last;
  }
}

}  // namespace velvasto
