#pragma once
// The new version of a file, written under a hidden temporary name in the file's own folder and
// renamed over the file only once complete: a reader, or the disk after a crash, sees the old
// contents or the new ones, never a mixture or a cut file, and a failed or broken-off write
// leaves the old file as it was.
//
// The temporary name is ".<name>.<process id>.<6 random characters>.part", the name cut as far
// as needed to keep it within the folder's limit for a file name. Such a file whose process is
// gone (killed before it could clean up) is stale: it is removed when the next replacement of
// the same file starts. A program that ends on a signal removes the temporary files in progress
// first (RemoveTemporaryFilesNow).
//
// A symbolic link is followed: the file it points to is replaced and the link stays. An
// existing FIFO or device is not replaced but written directly (there is no older content to
// keep), and a folder is refused.

#include <cstdio>
#include <filesystem>

namespace velvasto {

class ReplacementFile {
 public:
  // Creates the temporary file (or opens the FIFO or device) for the new version of `target`.
  // Throws CSystemErrMessage with the system's reason when it cannot.
  explicit ReplacementFile(const std::filesystem::path& target);
  // Removes the temporary file unless it was committed.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // The stream to write the new version into (buffered, binary).
  std::FILE* Stream() const { return stream_; }
  // Where the bytes go: the temporary file, or the FIFO or device itself.
  const std::filesystem::path& WritingPath() const { return writing_; }

  // Writes the stream out, flushes it to the disk and renames the temporary file over the
  // target; the new file keeps the permission bits of the old one (a new file those a newly
  // created file gets). Throws CSystemErrMessage with the system's reason; the old file is then
  // untouched.
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path writing_;
  std::FILE* stream_ = nullptr;
  int slot_ = -1;
  // Writing into the FIFO or device itself: there is no temporary file to rename or remove.
  bool direct_ = false;
  bool committed_ = false;
};

// Removes the temporary file of every ReplacementFile in progress. Safe in a signal handler:
// a program ending on a signal calls it before it ends.
void RemoveTemporaryFilesNow() noexcept;

}  // namespace velvasto
