#pragma once
// What the panel monitor is told about the messages the engine sent: fixed-size entries, so that
// the timer callback can write them without allocating.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace velvasto {

enum class MonitorKind : std::uint32_t {
  NoteOn = 0,         // value: velocity
  NoteOff = 1,        // note-off or note-on with velocity 0; value 0
  Volume = 2,         // controller 7 as sent, after master-volume scaling; value: the volume
  Expression = 3,     // controller 11; value: the expression
  Tempo = 4,          // value: beats per minute
  MasterVolume = 5,   // a master-volume System Exclusive; value: the volume byte
  GsDisplay = 6,      // GS dot-display System Exclusive
  XgBitmap = 7,       // XG bitmap System Exclusive
  Cm6Begin = 8,       // value: number of messages in the block
  Cm6End = 9,
  GsdBegin = 10,      // value: number of messages in the block
  GsdEnd = 11,
  Gsd2Begin = 12,     // value: number of messages in the block
  Gsd2End = 13,
  BlockProgress = 14  // value: messages sent so far in the running control block
};

// 24 words: kind, value, 76 data bytes, length, port, channel.
struct MonitorEntry {
  MonitorKind kind = MonitorKind::NoteOn;
  std::uint32_t value = 0;
  // System Exclusive entries: the message from its F0 on, as much as fits.
  std::array<std::uint8_t, 76> data{};
  // System Exclusive entries: how many bytes of `data` hold the message; 0 otherwise.
  std::uint32_t length = 0;
  // 0 port A, 1 port B, kTempoPort for tempo entries.
  std::uint32_t port = 0;
  // Channel entries: 0..15; -1 for tempo and System Exclusive entries.
  std::int32_t channel = -1;
};
static_assert(sizeof(MonitorEntry) == 24 * sizeof(std::uint32_t));

inline constexpr std::uint32_t kTempoPort = 999;

// The entry for a sent short message on port 0 or 1; none for messages the monitor ignores.
std::optional<MonitorEntry> ChannelEntry(std::uint32_t message, std::uint32_t port);
// The entry for a sent System Exclusive message; none unless the classifier recognises it.
std::optional<MonitorEntry> SysExEntry(std::span<const std::uint8_t> message, std::uint32_t port);
MonitorEntry TempoEntry(std::uint32_t beatsPerMinute);
// Control-block begin, end and progress entries.
MonitorEntry BlockEntry(MonitorKind kind, std::uint32_t value);

}  // namespace velvasto
