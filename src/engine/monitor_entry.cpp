#include "engine/monitor_entry.h"

#include <algorithm>
#include <initializer_list>

namespace velvasto {

namespace {

bool StartsWith(std::span<const std::uint8_t> message, std::initializer_list<std::uint8_t> prefix) {
  return message.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), message.begin());
}

struct SysExClass {
  MonitorKind kind;
  std::uint32_t value;
};

// Tests in a fixed order; the first that matches decides. A message only counts as a master
// volume when it is long enough to hold the volume byte the entry reports.
std::optional<SysExClass> Classify(std::span<const std::uint8_t> m) {
  if (m.size() == 74) {
    if (StartsWith(m, {0xF0, 0x41, 0x10, 0x45, 0x12, 0x10, 0x01, 0x00})) return SysExClass{MonitorKind::GsDisplay, 0};
    return std::nullopt;
  }
  if (m.size() > 5 && StartsWith(m, {0xF0, 0x7F, 0x04, 0x01, 0x00})) return SysExClass{MonitorKind::MasterVolume, m[5]};
  if (m.size() > 7 && StartsWith(m, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04})) {
    return SysExClass{MonitorKind::MasterVolume, m[7]};
  }
  if (m.size() >= 7 && StartsWith(m, {0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00}) && m[6] <= 0x2F) {
    return SysExClass{MonitorKind::XgBitmap, 0};
  }
  if (m.size() > 8 && StartsWith(m, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04})) {
    return SysExClass{MonitorKind::MasterVolume, m[8]};
  }
  return std::nullopt;
}

}  // namespace

std::optional<MonitorEntry> ChannelEntry(std::uint32_t message, std::uint32_t port) {
  if (port > 1) return std::nullopt;
  const std::uint32_t status = message & 0xF0;
  const std::uint32_t data1 = (message >> 8) & 0xFF;
  const std::uint32_t data2 = (message >> 16) & 0xFF;
  MonitorEntry entry;
  if (status == 0x90 && data2 > 0) {
    entry.kind = MonitorKind::NoteOn;
    entry.value = data2;
  } else if (status == 0x80 || status == 0x90) {
    entry.kind = MonitorKind::NoteOff;
  } else if (status == 0xB0 && data1 == 7) {
    entry.kind = MonitorKind::Volume;
    entry.value = data2;
  } else if (status == 0xB0 && data1 == 11) {
    entry.kind = MonitorKind::Expression;
    entry.value = data2;
  } else {
    return std::nullopt;
  }
  entry.port = port;
  entry.channel = static_cast<std::int32_t>(message & 0x0F);
  return entry;
}

std::optional<MonitorEntry> SysExEntry(std::span<const std::uint8_t> message, std::uint32_t port) {
  if (port > 1) return std::nullopt;
  const std::optional<SysExClass> found = Classify(message);
  if (!found) return std::nullopt;
  MonitorEntry entry;
  entry.kind = found->kind;
  entry.value = found->value;
  const std::size_t copied = std::min(message.size(), entry.data.size());
  std::copy_n(message.begin(), copied, entry.data.begin());
  entry.length = static_cast<std::uint32_t>(copied);
  entry.port = port;
  return entry;
}

MonitorEntry TempoEntry(std::uint32_t beatsPerMinute) {
  MonitorEntry entry;
  entry.kind = MonitorKind::Tempo;
  entry.value = beatsPerMinute;
  entry.port = kTempoPort;
  return entry;
}

MonitorEntry BlockEntry(MonitorKind kind, std::uint32_t value) {
  MonitorEntry entry;
  entry.kind = kind;
  entry.value = value;
  return entry;
}

}  // namespace velvasto
