#include "engine/playback_core.h"

namespace velvasto {

void ChannelVolumes::Clear() {
  for (auto& port : last) port.fill(-1);
  for (auto& port : sent) port.fill(false);
}

int PlaybackCore::PortIndex(PortId port) const {
  switch (port) {
    case PortId::A:
      return ports[0] != nullptr ? 0 : -1;
    case PortId::B:
      return ports[1] != nullptr ? 1 : -1;
    case PortId::None:
      break;
  }
  return -1;
}

bool PlaybackCore::AnyBlockRunning() const {
  for (const auto& running : blockRunning) {
    if (running.load(std::memory_order_relaxed)) return true;
  }
  return false;
}

void PlaybackCore::TellSongClock(std::uint64_t nowUs) {
  // The song time stands for clock time lastTickUs; their difference changes when the song moves
  // against the clock (a start, a resume, a seek).
  const std::uint64_t timeUs = songTimeUs.load(std::memory_order_relaxed);
  const std::uint64_t originUs = lastTickUs - timeUs;
  if (toldSongOriginUs == originUs) return;
  toldSongOriginUs = originUs;
  const SongClock clock{timeUs, static_cast<std::int64_t>(lastTickUs - nowUs)};
  for (MidiOutDevice* device : ports) {
    if (device != nullptr) device->FollowSongClock(clock);
  }
}

void PlaybackCore::WithdrawSongClock() {
  toldSongOriginUs.reset();
  for (MidiOutDevice* device : ports) {
    if (device != nullptr) device->FollowSongClock(std::nullopt);
  }
}

void PlaybackCore::Fail(ErrorClass failureClass, std::int32_t code) {
  errorClass = failureClass;
  errorCode = code;
  failed.store(true, std::memory_order_release);
}

}  // namespace velvasto
