#include "engine/dispatch.h"

#include <optional>

#include "engine/port_output.h"

namespace velvasto {

namespace {

enum class Outcome { Next, HoldForSysEx, Halt };

void Monitor(PlaybackCore& core, const std::optional<MonitorEntry>& entry) {
  if (entry) core.engineRing.TryPush(*entry);
}

// Every message sent while a control block runs advances its progress.
void CountBlockProgress(PlaybackCore& core) {
  if (!core.AnyBlockRunning()) return;
  ++core.blockProgress;
  core.engineRing.TryPush(BlockEntry(MonitorKind::BlockProgress, core.blockProgress));
}

bool Send(PlaybackCore& core, int port, std::uint32_t message, std::uint64_t timeUs) {
  try {
    core.ports[port]->SendShort(message, timeUs);
  } catch (...) {
    core.Fail(ErrorClass::Multimedia, mmerr::kShortMsg);
    return false;
  }
  Monitor(core, ChannelEntry(message, static_cast<std::uint32_t>(port)));
  CountBlockProgress(core);
  return true;
}

Outcome DispatchShort(PlaybackCore& core, const StreamEvent& record) {
  const int port = core.PortIndex(record.port);
  if (port < 0) return Outcome::Next;
  const std::uint32_t channel = record.message & 0x0F;
  const std::uint32_t master = core.masterVolume.load(std::memory_order_relaxed);
  ChannelVolumes& volumes = core.volumes;

  if ((record.message & 0xFFF0) == 0x07B0) {
    const std::uint32_t value = (record.message >> 16) & 0xFF;
    volumes.last[port][channel] = static_cast<std::int32_t>(value);
    const std::uint32_t scaled = (record.message & 0xFFFF) | ScaleVolume(value, master) << 16;
    if (!Send(core, port, scaled, record.time)) return Outcome::Halt;
    volumes.sent[port][channel] = true;
    return Outcome::Next;
  }
  // A channel that plays before any volume reached it gets the default volume, scaled, first;
  // songs with control blocks set their volumes up themselves.
  if ((record.status & 0xF0) == 0x90 && core.songStartUs.load(std::memory_order_relaxed) == 0 &&
      !volumes.sent[port][channel]) {
    volumes.last[port][channel] = 100;
    if (!Send(core, port, VolumeMessage(channel, ScaleVolume(100, master)), record.time)) return Outcome::Halt;
    volumes.sent[port][channel] = true;
  }
  return Send(core, port, record.message, record.time) ? Outcome::Next : Outcome::Halt;
}

Outcome DispatchSysEx(PlaybackCore& core, const StreamEvent& record) {
  const int port = core.PortIndex(record.port);
  if (port < 0) return Outcome::Next;
  core.sysex.data = core.song->SysExData(record);
  core.sysex.done.store(false, std::memory_order_relaxed);
  try {
    core.ports[port]->SendLong(core.sysex, record.time);
  } catch (...) {
    core.Fail(ErrorClass::Multimedia, mmerr::kLongMsg);
    return Outcome::Halt;
  }
  Monitor(core, SysExEntry(core.sysex.data, static_cast<std::uint32_t>(port)));
  CountBlockProgress(core);
  return Outcome::HoldForSysEx;
}

void DispatchMarker(PlaybackCore& core, std::uint32_t subtype) {
  if (subtype > kMarkerGsd2End) return;
  const auto block = static_cast<CMIDIStream::ControlBlock>(subtype / 2);
  const std::uint32_t beginKind = static_cast<std::uint32_t>(MonitorKind::Cm6Begin) + 2 * static_cast<std::uint32_t>(block);
  if (subtype % 2 == 0) {
    core.engineRing.TryPush(BlockEntry(static_cast<MonitorKind>(beginKind), core.song->ControlBlockMessages(block)));
    core.blockRunning[block].store(true, std::memory_order_relaxed);
    core.blockProgress = 0;
  } else {
    core.engineRing.TryPush(BlockEntry(static_cast<MonitorKind>(beginKind + 1), 0));
    core.blockRunning[block].store(false, std::memory_order_relaxed);
  }
}

Outcome DispatchRecord(PlaybackCore& core, const StreamEvent& record) {
  switch (record.status) {
    case kStatusSysEx:
      return DispatchSysEx(core, record);
    case kStatusTempo: {
      const std::uint32_t beatsPerMinute = record.message & 0xFFFF;
      core.tempo.store(beatsPerMinute, std::memory_order_relaxed);
      core.engineRing.TryPush(TempoEntry(beatsPerMinute));
      return Outcome::Next;
    }
    case kStatusMarker:
      DispatchMarker(core, record.message);
      return Outcome::Next;
    case kStatusEnd:
      core.ended.store(true, std::memory_order_release);
      return Outcome::Halt;
    default:
      return DispatchShort(core, record);
  }
}

}  // namespace

void DispatchTick(PlaybackCore& core, std::uint64_t nowUs) {
  if (core.ended.load(std::memory_order_relaxed) || core.failed.load(std::memory_order_relaxed)) return;
  if (core.sysexPending) {
    if (!core.sysex.done.load(std::memory_order_acquire)) return;
    core.sysexPending = false;
  }
  if (core.resume) {
    // Time spent paused or moving to a seek target is not played through: this run counts
    // exactly one timer period.
    core.resume = false;
    const std::uint64_t periodUs = std::uint64_t{core.timerPeriodMs} * 1000;
    core.lastTickUs = nowUs >= periodUs ? nowUs - periodUs : 0;
  }
  core.TellSongClock(nowUs);
  const std::uint64_t elapsedMs = nowUs > core.lastTickUs ? (nowUs - core.lastTickUs) / 1000 : 0;

  const auto events = core.song->Events();
  std::uint64_t songTimeUs = core.songTimeUs.load(std::memory_order_relaxed);
  // One pass over the records at each millisecond of the elapsed time, the current one included,
  // so that nothing whose time has come waits for the next run.
  for (std::uint64_t step = 0;; ++step) {
    while (true) {
      if (core.index >= events.size()) {
        // A table always ends with its end record; should one not, end here rather than read on.
        core.ended.store(true, std::memory_order_release);
        return;
      }
      const StreamEvent& record = events[core.index];
      if (record.time > songTimeUs) break;
      const Outcome outcome = DispatchRecord(core, record);
      if (outcome == Outcome::Halt) return;
      ++core.index;
      if (outcome == Outcome::HoldForSysEx) {
        // The milliseconds not yet stepped through are made up once the device is done.
        core.lastTickUs += step * 1000;
        core.sysexPending = true;
        return;
      }
    }
    if (step == elapsedMs) break;
    songTimeUs += 1000;
    core.songTimeUs.store(songTimeUs, std::memory_order_relaxed);
  }
  core.lastTickUs += elapsedMs * 1000;
}

}  // namespace velvasto
