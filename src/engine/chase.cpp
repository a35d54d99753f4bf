#include "engine/chase.h"

#include <array>
#include <optional>

#include "engine/port_output.h"
#include "midiout/long_message_sender.h"

namespace velvasto {

namespace {

constexpr std::uint32_t kShortPauseMs = 3;
constexpr std::uint32_t kSysExPauseMs = 50;

using ChannelValues = std::array<std::array<std::optional<std::uint32_t>, 16>, 2>;

// The values the chase sends once per channel at its end.
struct ChasedState {
  ChannelValues volume;
  ChannelValues expression;
  ChannelValues bend;  // the whole pitch-bend message
};

void Pace(Clock& clock, const MidiOutDevice& device, std::uint32_t ms) {
  if (device.NeedsPacing()) clock.SleepMs(ms);
}

// Sends one short record on its way to the target, or remembers it for the end.
void ChaseShort(PlaybackCore& core, Clock& clock, int port, const StreamEvent& record, std::uint64_t targetUs,
                ChasedState& chased) {
  const std::uint32_t channel = record.message & 0x0F;
  const std::uint32_t data1 = (record.message >> 8) & 0xFF;
  const std::uint32_t data2 = (record.message >> 16) & 0xFF;
  switch (record.status & 0xF0) {
    case 0x80:
      return;
    case 0x90:
      if (core.songStartUs.load(std::memory_order_relaxed) == 0 && !core.volumes.sent[port][channel]) {
        core.volumes.sent[port][channel] = true;
        chased.volume[port][channel] = 100;
      }
      return;
    case 0xB0:
      if (data1 == 7) {
        chased.volume[port][channel] = data2;
        // The song set this channel's volume before any later note: that note must not replace
        // it with the default.
        core.volumes.sent[port][channel] = true;
        return;
      }
      if (data1 == 11) {
        chased.expression[port][channel] = data2;
        return;
      }
      break;
    case 0xE0:
      chased.bend[port][channel] = record.message;
      return;
    default:
      break;
  }
  MidiOutDevice& device = *core.ports[port];
  SendShortOrThrow(device, record.message, targetUs);
  Pace(clock, device, kShortPauseMs);
}

void SendChasedState(PlaybackCore& core, Clock& clock, const ChasedState& chased, std::uint64_t targetUs) {
  const std::uint32_t master = core.masterVolume.load(std::memory_order_relaxed);
  for (std::size_t port = 0; port < core.ports.size(); ++port) {
    MidiOutDevice* device = core.ports[port];
    if (device == nullptr) continue;
    const auto monitorPort = static_cast<std::uint32_t>(port);
    for (std::uint32_t channel = 0; channel < 16; ++channel) {
      if (const auto& volume = chased.volume[port][channel]) {
        const std::uint32_t message = VolumeMessage(channel, ScaleVolume(*volume, master));
        SendShortOrThrow(*device, message, targetUs);
        core.volumes.sent[port][channel] = true;
        // The master volume from now on scales the song's volume at the target.
        core.volumes.last[port][channel] = static_cast<std::int32_t>(*volume);
        if (const auto entry = ChannelEntry(message, monitorPort)) core.appRing.Push(*entry);
        Pace(clock, *device, kShortPauseMs);
      }
      if (const auto& expression = chased.expression[port][channel]) {
        const std::uint32_t message = 0xB0u | channel | 11u << 8 | *expression << 16;
        SendShortOrThrow(*device, message, targetUs);
        if (const auto entry = ChannelEntry(message, monitorPort)) core.appRing.Push(*entry);
        Pace(clock, *device, kShortPauseMs);
      }
      if (const auto& bend = chased.bend[port][channel]) {
        SendShortOrThrow(*device, *bend, targetUs);
        Pace(clock, *device, kShortPauseMs);
      }
    }
  }
}

}  // namespace

void Chase(PlaybackCore& core, Clock& clock, std::uint32_t startIndex, std::uint64_t targetUs,
           EngineNotificationSink& sink) {
  const auto events = core.song->Events();
  ChasedState chased;
  std::uint32_t index = startIndex;
  for (; index < events.size(); ++index) {
    const StreamEvent& record = events[index];
    if (record.time >= targetUs || record.status == kStatusEnd) break;
    if (record.status == kStatusTempo) {
      const std::uint32_t beatsPerMinute = record.message & 0xFFFF;
      core.tempo.store(beatsPerMinute, std::memory_order_relaxed);
      core.appRing.Push(TempoEntry(beatsPerMinute));
      continue;
    }
    if (record.status == kStatusMarker) continue;
    const int port = core.PortIndex(record.port);
    if (port < 0) continue;
    if (record.status == kStatusSysEx) {
      MidiOutDevice& device = *core.ports[port];
      const auto message = core.song->SysExData(record);
      SendLongMessageSync(device, record.port, message, targetUs, core.song);
      if (const auto entry = SysExEntry(message, static_cast<std::uint32_t>(port))) core.appRing.Push(*entry);
      Pace(clock, device, kSysExPauseMs);
      continue;
    }
    ChaseShort(core, clock, port, record, targetUs, chased);
  }
  core.index = index;
  SendChasedState(core, clock, chased, targetUs);
  sink.Post(UM_MONITOR_EVENTS, 0, 0);
}

}  // namespace velvasto
