#pragma once
// The state of a playing song that the timer callback, the transport and the monitor worker
// share.
//
// Guarding: the plain fields below `volumeMutex` are touched only with that mutex held. The timer
// callback holds it for its whole run; the transport takes it around every change it makes while
// a song is started. The atomics are read without the mutex by the worker and by status queries.
// `song` and `ports` are set by Start while neither timer runs and stay fixed until the next Start.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "core/errors.h"
#include "engine/monitor_ring.h"
#include "midiout/midi_out_device.h"
#include "song/midi_stream.h"

namespace velvasto {

// Channel-volume bookkeeping per port (0 A, 1 B) and channel.
struct ChannelVolumes {
  // The song's own value of controller 7 last sent on the channel, before master scaling; -1 when
  // none was sent since Start.
  std::array<std::array<std::int32_t, 16>, 2> last{};
  // Whether a channel volume reached the channel since Start (no default volume needed then).
  std::array<std::array<bool, 16>, 2> sent{};

  void Clear();
};

struct PlaybackCore {
  // Not const: System Exclusive messages sent outside the timer keep its rhythm-part values up to
  // date.
  CMIDIStream* song = nullptr;
  // The open device of port A and of port B; port B is null when the song uses one port.
  std::array<MidiOutDevice*, 2> ports{};
  std::uint32_t timerPeriodMs = 5;

  std::mutex volumeMutex;
  // Index of the next record to send.
  std::uint32_t index = 0;
  // Clock time to which the song time corresponds.
  std::uint64_t lastTickUs = 0;
  // Set by Pause and Seek: the next tick counts exactly one timer period.
  bool resume = false;
  // The clock time of song time 0 (wrapping) as the devices were last told it; none while the
  // timer stands.
  std::optional<std::uint64_t> toldSongOriginUs;
  // The System Exclusive message in flight; the song time holds until its device is done with it.
  bool sysexPending = false;
  LongMessage sysex;
  ChannelVolumes volumes;
  // Messages sent so far in the running control block.
  std::uint32_t blockProgress = 0;
  // Published by `failed`.
  ErrorClass errorClass = ErrorClass::Application;
  std::int32_t errorCode = 0;

  // Time, in microseconds from the start of the table, up to which records have been sent.
  std::atomic<std::uint64_t> songTimeUs{0};
  // Where the song proper begins, after the control blocks.
  std::atomic<std::uint64_t> songStartUs{0};
  std::atomic<std::uint32_t> masterVolume{127};
  std::atomic<std::uint32_t> tempo{120};
  // CM6, GSD, second GSD block being sent.
  std::array<std::atomic<bool>, CMIDIStream::kControlBlockCount> blockRunning{};
  std::atomic<bool> ended{false};
  std::atomic<bool> failed{false};

  EngineMonitorRing engineRing;
  ApplicationMonitorRing appRing;

  // 0 for port A, 1 for port B, -1 when no open device stands behind the record's port.
  int PortIndex(PortId port) const;
  // The port of index 0 or 1.
  static PortId PortOf(std::size_t index) { return index == 0 ? PortId::A : PortId::B; }
  bool AnyBlockRunning() const;
  // Tells the devices where the song's clock stands when it has moved against the engine's clock
  // since they were last told (the song's start, a resume, a seek). Called by the timer's tick,
  // at clock time `nowUs`, before it sends.
  void TellSongClock(std::uint64_t nowUs);
  // The timer has stopped: until they are told again, the devices send what they get at once.
  void WithdrawSongClock();
  // Records a failure of the timer callback; nothing is sent after it.
  void Fail(ErrorClass failureClass, std::int32_t code);
};

}  // namespace velvasto
