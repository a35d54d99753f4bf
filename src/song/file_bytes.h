#pragma once
// Reads the fields of a binary file in order. Every read that cannot deliver all the bytes it
// asks for throws application error 2 (ファイル形式が異常です。), which the readers use to find
// the end of a track list.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace velvasto {

class FileBytes {
 public:
  // `file` stays owned by the caller. The size is taken once, at construction.
  explicit FileBytes(std::FILE* file);

  void Read(void* buffer, std::size_t size);
  std::uint8_t U8();
  std::uint16_t LE16();
  std::uint32_t LE32();
  // `size` bytes of text, cut at the first zero byte.
  std::string Text(std::size_t size);
  void Skip(std::size_t size);
  void SeekTo(std::uint64_t offset);

  std::uint64_t Position() const { return position_; }
  // Bytes between the read position and the end of the file.
  std::uint64_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }

 private:
  std::FILE* file_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace velvasto
