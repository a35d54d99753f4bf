#pragma once
// A track of a Recomposer song as the readers keep it. Both file layouts (4-byte records of
// RCP/R36, 6-byte records of G36/G18) are read into the same form, so that one conversion
// machine serves both.

#include <cstdint>
#include <string>
#include <vector>

namespace velvasto {

// One command of a track.
struct RcpRecord {
  std::uint8_t command = 0;
  // The command's two data bytes: RCP bytes 2 and 3; G36 bytes 4 and 1.
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  // Ticks until the track's next command: RCP byte 1; G36 bytes 2-3.
  std::uint16_t step = 0;
  // Sounding length of a note: RCP byte 2; G36 bytes 4-5.
  std::uint16_t gate = 0;
  // For a same-measure command (0xFC): the record index of the measure it refers to, as the
  // file gives it, or kNoTarget when it names no record of the track. Unused by other commands.
  static constexpr std::uint32_t kNoTarget = UINT32_MAX;
  std::uint32_t target = kNoTarget;
};

struct RcpTrack {
  // Channel byte: 0xFF switches the track off; else bits 0-3 channel, bit 4 port B.
  std::uint8_t channel = 0;
  // Key byte: bit 7 marks a rhythm track (never transposed); else a transposition.
  std::uint8_t key = 0;
  // Ticks this track starts after (negative: before) the others.
  std::int8_t stepShift = 0;
  // Mode byte: 1 mutes the track.
  std::uint8_t mode = 0;
  std::string comment;  // raw bytes, cut at the first zero byte
  std::vector<RcpRecord> records;
};

}  // namespace velvasto
