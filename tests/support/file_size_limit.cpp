#include "support/file_size_limit.h"

#include <stdexcept>

namespace velvasto::test {

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  if (sigaction(SIGXFSZ, &ignore, &previousAction_) != 0) throw std::runtime_error("sigaction failed");
  if (getrlimit(RLIMIT_FSIZE, &previous_) != 0) throw std::runtime_error("getrlimit failed");
  rlimit limit = previous_;
  limit.rlim_cur = bytes;
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit failed");
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &previous_);
  sigaction(SIGXFSZ, &previousAction_, nullptr);
}

}  // namespace velvasto::test
