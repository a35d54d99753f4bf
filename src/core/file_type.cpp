#include "core/file_type.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "core/errors.h"
#include "core/regular_file.h"

namespace velvasto {

namespace {

// True when `magic` (its full length, a trailing zero byte included when given) stands at
// `offset` of the file.
bool MagicAt(std::FILE* file, long offset, std::string_view magic) {
  char buffer[64];
  if (magic.size() > sizeof buffer) return false;
  if (std::fseek(file, offset, SEEK_SET) != 0) return false;
  if (std::fread(buffer, 1, magic.size(), file) != magic.size()) return false;
  return std::memcmp(buffer, magic.data(), magic.size()) == 0;
}

constexpr std::string_view kSmfMagic = "MThd";
constexpr std::string_view kRcpMagic = "RCM-PC98V2.0(C)COME ON MUSIC";
// The zero byte after the text is part of the magic.
constexpr std::string_view kRcp3Magic{"COME ON MUSIC RECOMPOSER RCP3.0\0", 32};
constexpr std::string_view kList2Magic = "[Velvasto List File Version 2.0]";
constexpr std::string_view kList3Magic = "[Velvasto List File Version 3.0]";

}  // namespace

bool IsStandardMidiFile(std::FILE* file, SmfWrapper* wrapper) {
  SmfWrapper found;
  if (MagicAt(file, 0, kSmfMagic)) {
    found.offset = 0;
  } else if (MagicAt(file, 20, kSmfMagic)) {
    found.riff = true;
    found.offset = 20;
  } else if (MagicAt(file, 128, kSmfMagic)) {
    found.macBinary = true;
    found.offset = 128;
  } else {
    return false;
  }
  if (wrapper != nullptr) *wrapper = found;
  return true;
}

bool IsRcpFile(std::FILE* file) { return MagicAt(file, 0, kRcpMagic); }
bool IsRcp3File(std::FILE* file) { return MagicAt(file, 0, kRcp3Magic); }
bool IsList2File(std::FILE* file) { return MagicAt(file, 0, kList2Magic); }
bool IsList3File(std::FILE* file) { return MagicAt(file, 0, kList3Magic); }

FileType TypeProbe::Detect() {
  if (type_ != FileType::Undetermined) return type_;
  const FilePtr file = OpenRegularStream(path_);
  if (!file) {
    // A folder, FIFO or device is none of the program's files.
    if (errno != EINVAL) throw CSystemErrMessage(errno);
    type_ = FileType::Unknown;
  } else if (IsStandardMidiFile(file.get())) {
    type_ = FileType::Smf;
  } else if (IsRcpFile(file.get())) {
    type_ = FileType::Rcp;
  } else if (IsRcp3File(file.get())) {
    type_ = FileType::G36;
  } else if (IsList2File(file.get()) || IsList3File(file.get())) {
    type_ = FileType::List;
  } else {
    type_ = FileType::Unknown;
  }
  return type_;
}

}  // namespace velvasto
