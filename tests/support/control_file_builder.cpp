#include "support/control_file_builder.h"

#include <algorithm>

namespace velvasto::test {

namespace {

constexpr std::size_t kCm6Size = 22601;
constexpr std::size_t kGsdSize = 2673;
constexpr std::size_t kGsdParts = 0x036;
constexpr std::size_t kGsdPartSize = 122;
constexpr std::size_t kGsdDrums[] = {0x7D6, 0x922};

}  // namespace

Cm6Builder::Cm6Builder() : bytes_(kCm6Size) {}

Cm6Builder& Cm6Builder::Set(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  return *this;
}

Cm6Builder& Cm6Builder::Numbered(std::uint8_t seed) {
  for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = static_cast<std::uint8_t>((i + seed) & 0x7F);
  return *this;
}

GsdBuilder::GsdBuilder() : bytes_(kGsdSize) {}

GsdBuilder& GsdBuilder::MasterVolume(std::uint8_t value) {
  bytes_[0x24] = value;
  return *this;
}

GsdBuilder& GsdBuilder::MasterPan(std::uint8_t value) {
  bytes_[0x26] = value;
  return *this;
}

GsdBuilder& GsdBuilder::Reverb(std::span<const std::uint8_t, 7> values) {
  std::copy(values.begin(), values.end(), bytes_.begin() + 0x27);
  return *this;
}

GsdBuilder& GsdBuilder::Chorus(std::span<const std::uint8_t, 8> values) {
  std::copy(values.begin(), values.end(), bytes_.begin() + 0x2E);
  return *this;
}

GsdBuilder& GsdBuilder::FineTuning(std::uint16_t value) {
  bytes_[0xA6E] = static_cast<std::uint8_t>(value);
  bytes_[0xA6F] = static_cast<std::uint8_t>(value >> 8);
  return *this;
}

GsdBuilder& GsdBuilder::CoarseTuning(std::uint8_t value) {
  bytes_[0xA70] = value;
  return *this;
}

GsdBuilder& GsdBuilder::Part(int part, std::size_t offset, std::uint8_t value) {
  bytes_[kGsdParts + kGsdPartSize * static_cast<std::size_t>(part - 1) + offset] = value;
  return *this;
}

GsdBuilder& GsdBuilder::Drum(int setup, std::size_t offset, std::uint8_t value) {
  bytes_[kGsdDrums[setup - 1] + offset] = value;
  return *this;
}

}  // namespace velvasto::test
