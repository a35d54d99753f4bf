#pragma once
// Builds the bytes of the control files Recomposer songs name: CM6 files (a CM-64 set-up) and
// GSD files (a GS set-up, also used as GSD2). Unset bytes are 0.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velvasto::test {

using Bytes = std::vector<std::uint8_t>;

class Cm6Builder {
 public:
  // `bytes` written from file offset `offset` on.
  Cm6Builder& Set(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    return *this;
  }
  // Every byte of the file set to (offset + seed) AND 0x7F, so that each message's data shows
  // where it came from.
  Cm6Builder& Numbered(std::uint8_t seed = 0) {
    for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = static_cast<std::uint8_t>((i + seed) & 0x7F);
    return *this;
  }
  Bytes Build() const { return bytes_; }

 private:
  Bytes bytes_ = Bytes(22601);
};

class GsdBuilder {
 public:
  // File offsets of the master settings.
  static constexpr std::size_t kMasterVolume = 0x24, kMasterPan = 0x26, kReverb = 0x27, kChorus = 0x2E,
                               kFineTuning = 0xA6E, kCoarseTuning = 0xA70;
  // Offsets in a part record (122 bytes) of the values the per-channel set-up sends.
  static constexpr std::size_t kBank = 0x00, kProgram = 0x01, kLevel = 0x19, kPan = 0x1C, kChorusSend = 0x21,
                               kReverbSend = 0x22, kVoiceReserve = 0x79;

  // `bytes` written from file offset `offset` on.
  GsdBuilder& Set(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    return *this;
  }
  GsdBuilder& MasterVolume(std::uint8_t value) { return Set(kMasterVolume, {&value, 1}); }
  // Byte `offset` of the record of part 1..16.
  GsdBuilder& Part(int part, std::size_t offset, std::uint8_t value) {
    return Set(0x36 + 122 * static_cast<std::size_t>(part - 1) + offset, {&value, 1});
  }
  // Byte `offset` of drum set-up 1 or 2 (332 bytes each).
  GsdBuilder& Drum(int setup, std::size_t offset, std::uint8_t value) {
    return Set((setup == 1 ? 0x7D6 : 0x922) + offset, {&value, 1});
  }
  Bytes Build() const { return bytes_; }

 private:
  Bytes bytes_ = Bytes(2673);
};

}  // namespace velvasto::test
