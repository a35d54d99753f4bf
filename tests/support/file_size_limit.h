#pragma once
// Makes writes fail on a real file system: while an object lives, no file of the process may
// grow beyond `bytes` (RLIMIT_FSIZE); a write past it fails with EFBIG instead of raising
// SIGXFSZ. The limit applies to every user, root included.

#include <csignal>
#include <cstddef>
#include <sys/resource.h>

namespace velvasto::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  struct sigaction previousAction_ {};
};

}  // namespace velvasto::test
