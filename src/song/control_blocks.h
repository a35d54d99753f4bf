#pragma once
// The messages a control file is sent as, in the order they are sent. The Recomposer conversion
// paces them and brackets them with marker records (rcp_converter_blocks.cpp).
//
// Every System Exclusive message is a Roland data set, F0 41 10 m 12 a1 a2 a3 d1 .. dn s F7, with
// model m 0x16 (CM-64) or 0x42 (GS) and checksum s = (−(a1 + a2 + a3 + d1 + .. + dn)) AND 0x7F.
// Data bytes are taken from the file with their top bit cleared, so that a damaged file cannot
// put a status byte (an early F7) into a message.

#include <cstdint>
#include <span>

namespace velvasto {

class ControlMessageSink {
 public:
  // A channel message on the block's port.
  virtual void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
  // A complete System Exclusive message (F0 .. F7).
  virtual void SysEx(std::span<const std::uint8_t> bytes) = 0;

 protected:
  ~ControlMessageSink() = default;
};

// Messages a CM6 block and a GSD block send.
inline constexpr std::uint32_t kCm6MessageCount = 102;
inline constexpr std::uint32_t kGsdMessageCount = 271;

// The 102 data sets of a CM6 file (at least kCm6FileSize bytes): the LA system area, the 64
// timbres, the patch temporary and rhythm set-up areas, the patch memory, the PCM patches and
// system area.
void WriteCm6Messages(std::span<const std::uint8_t> cm6, ControlMessageSink& sink);

// The messages of a GSD file (at least kGsdFileSize bytes); see control_blocks.cpp for the
// layout of its part and drum set-up records.
void WriteGsdMessages(std::span<const std::uint8_t> gsd, ControlMessageSink& sink);

}  // namespace velvasto
