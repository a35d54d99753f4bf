#pragma once
// One MIDI output: an external port, one input of the built-in synthesizer, or a recorder.

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velvasto {

// A System Exclusive message handed to a device. The sender owns it and keeps it (and the bytes
// it refers to) alive until `done` is set; the device sets it once it no longer needs the bytes.
struct LongMessage {
  std::span<const std::uint8_t> data;
  std::atomic<bool> done{false};
};

// Where a playing song's clock stands: song time `songTimeUs` falls due `dueInUs` microseconds
// of the monotonic clock after this is told (before it when negative).
struct SongClock {
  std::uint64_t songTimeUs;
  std::int64_t dueInUs;
};

class MidiOutDevice {
 public:
  virtual ~MidiOutDevice() = default;

  // The name the device is listed and remembered by.
  virtual const std::string& Name() const = 0;

  // Open and Close throw CMMSystemErrMessage (mmerr::kOpen, mmerr::kClose) on failure.
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Every send carries the song time (µs) of the record it comes from. External ports send at
  // once; the synthesizer, when rendering, renders audio up to that time first.
  // A short message is status | data1 << 8 | data2 << 16. Throws CMMSystemErrMessage(mmerr::kShortMsg).
  virtual void SendShort(std::uint32_t message, std::uint64_t timeUs) = 0;
  // Starts sending `message`; completion is signalled through message.done. Throws
  // CMMSystemErrMessage(mmerr::kLongMsg) when the device refuses it.
  virtual void SendLong(LongMessage& message, std::uint64_t timeUs) = 0;
  // Silences the device as a reset of a real port does: every sounding note ended, the sustain
  // pedal released, and nothing more: programs, controllers and pitch bend stay. It also returns
  // every long message still in flight: their `done` is set when Reset returns. Throws
  // CMMSystemErrMessage(mmerr::kReset).
  virtual void Reset() = 0;
  // Returns every channel's controllers, pitch bend and pressures to their defaults, as Reset
  // All Controllers (controller 121) does on General MIDI devices; programs, volumes, pans and
  // effect sends stay. Throws CMMSystemErrMessage(mmerr::kReset).
  virtual void ResetControllers() = 0;

  // Whether a burst of messages sent at once (the chase after a seek) must be spaced out so that
  // the receiving module keeps up. A device that takes any burst (the built-in synthesizer, a
  // recorder) says no.
  virtual bool NeedsPacing() const { return true; }

  // The player tells where its song clock stands whenever it starts or moves against the
  // monotonic clock (start, resume, seek), and gives none when it stops (pause, seek, stop). A
  // device that can schedule plays each message sent meanwhile at its record's place on that
  // clock plus a fixed latency, instead of when it happens to be sent; with none, at once.
  // Devices that send at once ignore it.
  virtual void FollowSongClock(const std::optional<SongClock>& /*clock*/) noexcept {}
};

}  // namespace velvasto
