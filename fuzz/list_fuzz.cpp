// Feeds arbitrary bytes to the list file reader. Names resolve without touching the disk: every
// name except those containing "missing" stands for "/songs/<name>". Besides not crashing, the
// reader must keep within 1024 entries, and a list it read must, when written, read back the
// same (or be refused with the write error for a path the format cannot hold).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "playlist/list_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File OpenBytes(const void* data, std::size_t size) {
  // fmemopen wants a non-empty buffer; an empty input reads as an empty file all the same.
  static char empty = 0;
  return File(size == 0 ? fmemopen(&empty, 1, "r") : fmemopen(const_cast<void*>(data), size, "rb"), &std::fclose);
}

std::optional<std::filesystem::path> Resolve(std::string_view name) {
  if (name.find("missing") != std::string_view::npos) return std::nullopt;
  return std::filesystem::path("/songs/" + std::string(name));
}

std::optional<std::filesystem::path> Identity(std::string_view name) { return std::filesystem::path(name); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velvasto::CPlayList list;
  {
    const File file = OpenBytes(data, size);
    if (!file) return 0;
    if (!velvasto::ReadListEntries(file.get(), list, 127, Resolve)) {
      Check(list.Count() == 0);
      return 0;
    }
  }
  Check(list.Count() <= velvasto::CPlayList::kMaxEntries);
  Check(!list.Modified());

  std::string bytes;
  try {
    bytes = velvasto::ListFileBytes(list);
  } catch (const velvasto::CErrMessage& e) {
    Check(e.Code() == velvasto::errc::kListWriteFailed);
    return 0;
  }
  velvasto::CPlayList reread;
  const File written = OpenBytes(bytes.data(), bytes.size());
  Check(written && velvasto::ReadListEntries(written.get(), reread, 0, Identity));
  Check(reread.Count() == list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    const auto& a = list.Entry(i);
    const auto& b = reread.Entry(i);
    Check(a.path == b.path && a.volume == b.volume && a.mapMode == b.mapMode && a.forceMap == b.forceMap &&
          a.adjust55 == b.adjust55);
  }
  return 0;
}
