#include "core/replacement_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "core/errors.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSuffix = ".part";
constexpr std::size_t kRandomChars = 6;
// ".<pid>.<random>.part" with the longest process id, so that every process cuts a long name
// alike and recognises the temporary files of the others.
constexpr std::size_t kTailBytes = 1 + 10 + 1 + kRandomChars + kSuffix.size();

// The temporary files in progress, for the signal handler: fixed slots holding copies of the
// paths, so that nothing the handler reads is ever freed. A slot is 0 free, 1 being filled,
// 2 in use.
constexpr int kSlotCount = 16;
struct Slot {
  std::atomic<int> state{0};
  char path[PATH_MAX] = {};
};
std::array<Slot, kSlotCount> g_slots;
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

int Register(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlotCount; ++i) {
    int expected = 0;
    if (!g_slots[i].state.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].state.store(2);
    return i;
  }
  return -1;  // more at once than the slots hold: a stale file is cleared by the next write
}

void Unregister(int slot) {
  if (slot >= 0) g_slots[slot].state.store(0);
}

[[noreturn]] void ThrowSystemError(int error) { throw CSystemErrMessage(error != 0 ? error : EIO); }

// The file that replacing `path` has to change: the target of a symbolic link, else `path`.
fs::path ResolveTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  return ec ? path : resolved;
}

fs::path FolderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// "." and the file name, cut (never inside a UTF-8 character) so that the whole temporary
// name stays within the folder's limit.
std::string NamePrefix(const fs::path& target) {
  const long limit = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
  const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
  std::string name = target.filename().string();
  const std::size_t room = nameMax > kTailBytes + 1 ? nameMax - kTailBytes - 1 : 0;
  if (name.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return "." + name + ".";
}

// The process id in a temporary name that starts with `prefix`, or 0 when the name is not one
// of ours: "<pid>.<6 characters>.part" must follow.
pid_t OwnerOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return 0;
  name.remove_prefix(prefix.size());
  name.remove_suffix(kSuffix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || name.size() - dot - 1 != kRandomChars) return 0;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dot, pid);
  return error == std::errc() && end == name.data() + dot && pid > 0 ? pid : 0;
}

// Removes the temporary files of `prefix` whose processes are gone.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t owner = OwnerOf(it->path().filename().string(), prefix);
    if (owner != 0 && ::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

std::string RandomChars() {
  static constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device source;
  std::string chars(kRandomChars, ' ');
  for (char& c : chars) c = kAlphabet[source() % kAlphabet.size()];
  return chars;
}

std::FILE* StreamOf(int fd) {
  std::FILE* stream = ::fdopen(fd, "wb");
  if (stream == nullptr) {
    const int error = errno;
    ::close(fd);
    ThrowSystemError(error);
  }
  return stream;
}

// Makes the rename itself durable. A folder that cannot be synced does not undo the
// replacement, which has already happened, so the result is not reported.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReplacementFile::ReplacementFile(const fs::path& target) : target_(ResolveTarget(target)) {
  struct stat old {};
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) ThrowSystemError(EISDIR);
  if (exists && !S_ISREG(old.st_mode)) {
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) ThrowSystemError(errno);
    writing_ = target_;
    direct_ = true;
    stream_ = StreamOf(fd);
    return;
  }

  const fs::path folder = FolderOf(target_);
  const std::string prefix = NamePrefix(target_);
  RemoveStaleTemporaries(folder, prefix);
  // A new file is created as any new file is (0666 less the umask); a replacement takes the
  // permission bits of the file it replaces.
  const std::string owner = prefix + std::to_string(::getpid()) + ".";
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    writing_ = folder / (owner + RandomChars() + std::string(kSuffix));
    fd = ::open(writing_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) ThrowSystemError(errno);
  try {
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) {
      const int error = errno;
      ::close(fd);
      ThrowSystemError(error);
    }
    stream_ = StreamOf(fd);
  } catch (...) {
    ::unlink(writing_.c_str());
    throw;
  }
  slot_ = Register(writing_.native());
}

ReplacementFile::~ReplacementFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (!committed_ && !direct_) ::unlink(writing_.c_str());
  Unregister(slot_);
}

void ReplacementFile::Commit() {
  std::FILE* stream = stream_;
  stream_ = nullptr;
  int error = 0;
  errno = 0;
  // A write that failed earlier left its bytes in the buffer: the flush fails again, and tells why.
  if (std::fflush(stream) != 0 || std::ferror(stream)) error = errno != 0 ? errno : EIO;
  // A FIFO or a terminal cannot be synced; the bytes have gone to their reader.
  if (error == 0 && !direct_ && ::fsync(::fileno(stream)) != 0) error = errno;
  if (std::fclose(stream) != 0 && error == 0) error = errno;
  if (error != 0) ThrowSystemError(error);
  if (!direct_) {
    if (::rename(writing_.c_str(), target_.c_str()) != 0) ThrowSystemError(errno);
    SyncFolder(FolderOf(target_));
  }
  committed_ = true;
}

void RemoveTemporaryFilesNow() noexcept {
  for (Slot& slot : g_slots) {
    if (slot.state.load() == 2) ::unlink(slot.path);
  }
}

}  // namespace velvasto
