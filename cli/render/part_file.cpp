#include "cli/render/part_file.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "core/errors.h"

namespace velvasto::cli {
namespace {

std::atomic<const char*> g_partPath{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free, "read in a signal handler");

extern "C" void OnEndingSignal(int signal) {
  if (const char* path = g_partPath.exchange(nullptr)) ::unlink(path);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

PartFile::PartFile(std::filesystem::path target)
    : target_(std::move(target)),
      part_(target_.parent_path() /
            ("." + target_.filename().string() + "." + std::to_string(::getpid()) + ".part")),
      partText_(part_.string()) {
  g_partPath.store(partText_.c_str());
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous_[i]);
}

PartFile::~PartFile() {
  g_partPath.store(nullptr);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
  if (!committed_) ::unlink(partText_.c_str());
}

void PartFile::Commit() {
  if (std::rename(partText_.c_str(), target_.c_str()) != 0) throw CSystemErrMessage();
  committed_ = true;
}

}  // namespace velvasto::cli
