#include "midiout/long_message_sender.h"

#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "core/errors.h"
#include "midiout/rhythm_part_tracker.h"

namespace velvasto {
namespace {

// The bytes and the completion flag the device is given, kept together.
struct PendingMessage {
  explicit PendingMessage(std::span<const std::uint8_t> bytes) : copy(bytes.begin(), bytes.end()) {
    message.data = copy;
  }
  std::vector<std::uint8_t> copy;
  LongMessage message;
};

}  // namespace

void SendLongMessageSync(MidiOutDevice& device, PortId port, std::span<const std::uint8_t> bytes,
                         std::uint64_t timeUs, CMIDIStream* song, std::chrono::steady_clock::duration limit) {
  if (song != nullptr) TrackRhythmPart(*song, port, bytes);
  std::unique_ptr<PendingMessage> pending;
  try {
    pending = std::make_unique<PendingMessage>(bytes);
  } catch (const std::bad_alloc&) {
    throw CErrMessage(errc::kOutOfMemory);
  }
  device.SendLong(pending->message, timeUs);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!pending->message.done.load(std::memory_order_acquire)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      try {
        device.Reset();
      } catch (...) {
        // The device may still hold the bytes; they must outlive it rather than be freed.
        (void)pending.release();
        throw;
      }
      if (!pending->message.done.load(std::memory_order_acquire)) (void)pending.release();
      throw CMMSystemErrMessage(mmerr::kLongMsg);
    }
    std::this_thread::yield();
  }
}

}  // namespace velvasto
