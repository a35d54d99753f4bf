#include "song/file_bytes.h"

#include "core/errors.h"

namespace velvasto {

FileBytes::FileBytes(std::FILE* file) : file_(file) {
  const long start = std::ftell(file_);
  if (start < 0 || std::fseek(file_, 0, SEEK_END) != 0) throw CErrMessage(errc::kBadFileFormat);
  const long end = std::ftell(file_);
  if (end < 0 || std::fseek(file_, start, SEEK_SET) != 0) throw CErrMessage(errc::kBadFileFormat);
  size_ = static_cast<std::uint64_t>(end);
  position_ = static_cast<std::uint64_t>(start);
}

void FileBytes::Read(void* buffer, std::size_t size) {
  if (size > Remaining()) throw CErrMessage(errc::kBadFileFormat);
  if (std::fread(buffer, 1, size, file_) != size) throw CErrMessage(errc::kBadFileFormat);
  position_ += size;
}

std::uint8_t FileBytes::U8() {
  std::uint8_t value = 0;
  Read(&value, 1);
  return value;
}

std::uint16_t FileBytes::LE16() {
  std::uint8_t bytes[2];
  Read(bytes, sizeof bytes);
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t FileBytes::LE32() {
  std::uint8_t bytes[4];
  Read(bytes, sizeof bytes);
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::string FileBytes::Text(std::size_t size) {
  std::string text(size, '\0');
  Read(text.data(), size);
  const std::size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  return text;
}

void FileBytes::Skip(std::size_t size) {
  if (size > Remaining()) throw CErrMessage(errc::kBadFileFormat);
  SeekTo(position_ + size);
}

void FileBytes::SeekTo(std::uint64_t offset) {
  if (offset > size_ || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
    throw CErrMessage(errc::kBadFileFormat);
  }
  position_ = offset;
}

}  // namespace velvasto
