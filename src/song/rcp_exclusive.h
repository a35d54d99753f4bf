#pragma once
// System Exclusive messages built from Recomposer templates. A template byte is written as it
// is, except the placeholders:
//   0x80 the command's first value, 0x81 its second value, 0x82 the track's channel;
//   0x83 starts summing the bytes written after it;
//   0x84 writes the Roland checksum of that sum, (−sum) AND 0x7F, stops summing, and leaves
//        the checksum as the sum;
//   0xF7 ends the template.
// The message starts with F0 and always ends with an F7 appended after the last template byte.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velvasto {

class ExclusiveWriter {
 public:
  // The longest message kept; template bytes past it are dropped, so that a track exclusive
  // running over any number of records cannot grow without bound.
  static constexpr std::size_t kMaxMessage = 4096;

  // Starts a message in `buffer` (cleared; its capacity is reused from message to message).
  ExclusiveWriter(std::vector<std::uint8_t>& buffer, std::uint8_t value1, std::uint8_t value2,
                  std::uint8_t channel);

  // Writes one template byte. Returns false once the template has ended (0xF7).
  bool Put(std::uint8_t templateByte);
  // Appends the closing F7; the message is then complete in the buffer.
  void Finish();

 private:
  void Write(std::uint8_t byte);

  std::vector<std::uint8_t>& buffer_;
  std::uint8_t value1_;
  std::uint8_t value2_;
  std::uint8_t channel_;
  std::uint8_t sum_ = 0;
  bool summing_ = false;
  bool ended_ = false;
};

// A user exclusive message: `pattern` (the template, at most its first 24 or 25 bytes are used)
// with the command's values, written to `buffer`.
void BuildUserExclusive(std::span<const std::uint8_t> pattern, std::uint8_t value1, std::uint8_t value2,
                        std::uint8_t channel, std::vector<std::uint8_t>& buffer);

// The checksum of a Roland data set over `bytes` (address and data): (−sum) AND 0x7F.
std::uint8_t RolandChecksum(std::span<const std::uint8_t> bytes);

}  // namespace velvasto
