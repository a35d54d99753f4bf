#include "app/monitor_router.h"

#include <algorithm>
#include <initializer_list>

namespace velvasto {

namespace {

bool Begins(const MonitorEntry& entry, std::initializer_list<std::uint8_t> prefix) {
  const std::uint32_t length = std::min<std::uint32_t>(entry.length, static_cast<std::uint32_t>(entry.data.size()));
  return prefix.size() <= length && std::equal(prefix.begin(), prefix.end(), entry.data.begin());
}

}  // namespace

std::uint32_t MasterMessageKind(const MonitorEntry& entry) {
  if (Begins(entry, {0xF0, 0x7F, 0x04, 0x01, 0x00})) return 4;
  if (Begins(entry, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04})) return 3;
  if (Begins(entry, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04})) return 1;
  return 0;
}

void MonitorRouter::Lock(std::uint32_t port, std::uint32_t lock) {
  if (port < locks_.size()) locks_[port] = lock;
}

bool MonitorRouter::Route(const MonitorEntry& entry) {
  if (entry.kind == MonitorKind::Tempo) {
    sink_.Tempo(entry.value);
    return true;
  }
  if (entry.port >= locks_.size()) return false;
  switch (entry.kind) {
    case MonitorKind::NoteOn:
    case MonitorKind::NoteOff:
    case MonitorKind::GsDisplay:
    case MonitorKind::XgBitmap:
      sink_.NoteEvent(entry);
      touched_[entry.port] = true;
      return true;
    case MonitorKind::Volume:
      sink_.ChannelVolume(entry);
      return true;
    case MonitorKind::Expression:
      sink_.ChannelExpression(entry);
      return true;
    case MonitorKind::MasterVolume: {
      const std::uint32_t kind = MasterMessageKind(entry);
      std::uint32_t& lock = locks_[entry.port];
      if (lock == 0 && entry.value > 0) lock = kind;
      if (lock != 0 && lock != kind) return true;
      sink_.MasterVolume(entry.port, entry.value);
      return true;
    }
    default:
      return false;
  }
}

void MonitorRouter::RepaintTouchedRolls() {
  for (std::uint32_t port = 0; port < touched_.size(); ++port) {
    if (touched_[port]) sink_.RepaintPianoRoll(port);
  }
  touched_ = {};
}

}  // namespace velvasto
