#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace velvasto {
namespace {

namespace fs = std::filesystem;

// Closes a descriptor when it goes out of scope; Close() reports the result of close(2), which
// can be the first report of a failed write.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Removes the temporary file unless the rename has consumed it; keeps errno as it was.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (path_.empty()) return;
    const int saved = errno;
    ::unlink(path_.c_str());
    errno = saved;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The file that replacing `path` has to change: the target of a symbolic link, else `path`.
fs::path ResolveTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  return ec ? path : resolved;
}

// Makes the rename itself durable. A folder that cannot be synced does not undo the
// replacement, which has already happened, so the result is not reported.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
  const fs::path target = ResolveTarget(path);
  const fs::path folder = target.parent_path();
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();

  FileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
  if (file.Get() < 0) return false;
  TemporaryFile temporary(pattern);

  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (::fchmod(file.Get(), mode) != 0) return false;
  if (!WriteAll(file.Get(), bytes)) return false;
  if (::fsync(file.Get()) != 0) return false;
  if (!file.Close()) return false;
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) return false;
  temporary.Release();
  SyncFolder(folder);
  return true;
}

}  // namespace velvasto
