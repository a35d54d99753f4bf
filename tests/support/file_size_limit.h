#pragma once
// Makes writes fail on a real file system: while an object lives, no file of the process may
// grow beyond `bytes` (RLIMIT_FSIZE); a write past it fails with EFBIG instead of raising
// SIGXFSZ. The limit applies to every user, root included.

#include <sys/resource.h>

#include <csignal>
#include <cstddef>
#include <stdexcept>

namespace velvasto::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    if (sigaction(SIGXFSZ, &ignore, &previousAction_) != 0 || getrlimit(RLIMIT_FSIZE, &previous_) != 0) {
      throw std::runtime_error("cannot ignore SIGXFSZ or read the file size limit");
    }
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit failed");
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    sigaction(SIGXFSZ, &previousAction_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  struct sigaction previousAction_ {};
};

}  // namespace velvasto::test
