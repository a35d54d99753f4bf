#pragma once
// One record of a song's event table.

#include <cstdint>

namespace velvasto {

// The output a record goes to. Records stand for the port, not for a device handle, so the
// table stays valid whichever device is open behind the port.
enum class PortId : std::uint8_t { None = 0, A = 1, B = 2 };

// Record kinds beyond channel messages (0x80..0xEF; 0xF3..0xFE are sent like them).
inline constexpr std::uint8_t kStatusSysEx = 0xF0;
inline constexpr std::uint8_t kStatusTempo = 0xF1;
inline constexpr std::uint8_t kStatusMarker = 0xF2;
inline constexpr std::uint8_t kStatusEnd = 0xFF;

// Control-block marker subtypes (the `message` of a 0xF2 record).
inline constexpr std::uint32_t kMarkerCm6Begin = 0;
inline constexpr std::uint32_t kMarkerCm6End = 1;
inline constexpr std::uint32_t kMarkerGsdBegin = 2;
inline constexpr std::uint32_t kMarkerGsdEnd = 3;
inline constexpr std::uint32_t kMarkerGsd2Begin = 4;
inline constexpr std::uint32_t kMarkerGsd2End = 5;

// 16 bytes a record; SysEx bytes live in the stream's SysEx pool.
struct StreamEvent {
  // Absolute time in microseconds from the start of the table.
  std::uint64_t time;
  // Channel message: status | data1 << 8 | data2 << 16. Tempo record: whole beats per minute.
  // Marker: its subtype. SysEx: the index of its bytes in the stream's SysEx pool. End: 0.
  std::uint32_t message;
  std::uint8_t status;
  PortId port;
};

}  // namespace velvasto
