#pragma once
// Builds the bytes of the control files Recomposer songs name: CM6 files (a CM-64 set-up) and
// GSD files (a GS set-up, also used as GSD2). Unset bytes are 0.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velvasto::test {

using Bytes = std::vector<std::uint8_t>;

class Cm6Builder {
 public:
  Cm6Builder();

  // `bytes` written from file offset `offset` on.
  Cm6Builder& Set(std::size_t offset, std::span<const std::uint8_t> bytes);
  // Every byte of the file set to (offset + seed) AND 0x7F, so that each message's data shows
  // where it came from.
  Cm6Builder& Numbered(std::uint8_t seed = 0);
  Bytes Build() const { return bytes_; }

 private:
  Bytes bytes_;
};

class GsdBuilder {
 public:
  // Offsets in a part record (122 bytes) of the values the per-channel set-up sends.
  static constexpr std::size_t kBank = 0x00;
  static constexpr std::size_t kProgram = 0x01;
  static constexpr std::size_t kLevel = 0x19;
  static constexpr std::size_t kPan = 0x1C;
  static constexpr std::size_t kChorus = 0x21;
  static constexpr std::size_t kReverb = 0x22;
  static constexpr std::size_t kVoiceReserve = 0x79;

  GsdBuilder();

  GsdBuilder& MasterVolume(std::uint8_t value);
  GsdBuilder& MasterPan(std::uint8_t value);
  GsdBuilder& Reverb(std::span<const std::uint8_t, 7> values);
  GsdBuilder& Chorus(std::span<const std::uint8_t, 8> values);
  GsdBuilder& FineTuning(std::uint16_t value);
  GsdBuilder& CoarseTuning(std::uint8_t value);
  // Byte `offset` of the record of part 1..16.
  GsdBuilder& Part(int part, std::size_t offset, std::uint8_t value);
  // Byte `offset` of drum set-up 1 or 2 (332 bytes each).
  GsdBuilder& Drum(int setup, std::size_t offset, std::uint8_t value);
  Bytes Build() const { return bytes_; }

 private:
  Bytes bytes_;
};

}  // namespace velvasto::test
