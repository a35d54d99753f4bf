#include "song/rcp_exclusive.h"

namespace velvasto {

namespace {

constexpr std::uint8_t kValue1 = 0x80;
constexpr std::uint8_t kValue2 = 0x81;
constexpr std::uint8_t kChannel = 0x82;
constexpr std::uint8_t kSumStart = 0x83;
constexpr std::uint8_t kChecksum = 0x84;
constexpr std::uint8_t kEnd = 0xF7;

std::uint8_t ChecksumOf(std::uint8_t sum) { return static_cast<std::uint8_t>((0u - sum) & 0x7F); }

}  // namespace

ExclusiveWriter::ExclusiveWriter(std::vector<std::uint8_t>& buffer, std::uint8_t value1, std::uint8_t value2,
                                 std::uint8_t channel)
    : buffer_(buffer), value1_(value1), value2_(value2), channel_(channel) {
  buffer_.clear();
  buffer_.push_back(0xF0);
}

void ExclusiveWriter::Write(std::uint8_t byte) {
  if (buffer_.size() >= kMaxMessage - 1) return;  // room stays for the closing F7
  buffer_.push_back(byte);
  if (summing_) sum_ = static_cast<std::uint8_t>(sum_ + byte);
}

bool ExclusiveWriter::Put(std::uint8_t templateByte) {
  if (ended_) return false;
  switch (templateByte) {
    case kValue1:
      Write(value1_);
      break;
    case kValue2:
      Write(value2_);
      break;
    case kChannel:
      Write(channel_);
      break;
    case kSumStart:
      summing_ = true;
      break;
    case kChecksum:
      summing_ = false;
      sum_ = ChecksumOf(sum_);
      Write(sum_);
      break;
    case kEnd:
      ended_ = true;
      return false;
    default:
      Write(templateByte);
      break;
  }
  return true;
}

void ExclusiveWriter::Finish() { buffer_.push_back(kEnd); }

void BuildUserExclusive(std::span<const std::uint8_t> pattern, std::uint8_t value1, std::uint8_t value2,
                        std::uint8_t channel, std::vector<std::uint8_t>& buffer) {
  ExclusiveWriter writer(buffer, value1, value2, channel);
  for (const std::uint8_t byte : pattern) {
    if (!writer.Put(byte)) break;
  }
  writer.Finish();
}

std::uint8_t RolandChecksum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (const std::uint8_t byte : bytes) sum = static_cast<std::uint8_t>(sum + byte);
  return ChecksumOf(sum);
}

}  // namespace velvasto
