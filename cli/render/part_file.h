#pragma once
// The file a render writes until it is complete: a hidden name of its own in the target's
// folder, renamed over the target when complete and removed otherwise, so a failed or broken-off
// render never leaves a half-written file nor destroys an older file of the same name. Ctrl-C,
// SIGTERM and SIGHUP remove it too, then end the program as the signal would have.
//
// One PartFile at a time.

#include <csignal>
#include <filesystem>
#include <string>

namespace velvasto::cli {

class PartFile {
 public:
  explicit PartFile(std::filesystem::path target);
  // Removes the part file unless it was committed.
  ~PartFile();
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  const std::filesystem::path& Path() const { return part_; }
  // Renames the part file over the target. Throws CSystemErrMessage.
  void Commit();

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

  std::filesystem::path target_;
  std::filesystem::path part_;
  std::string partText_;  // read by the signal handler
  bool committed_ = false;
  struct sigaction previous_[3] = {};
};

}  // namespace velvasto::cli
