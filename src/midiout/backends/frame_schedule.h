#pragma once
// When a message to a JACK MIDI port is played: the frame of the server's clock that stands for
// the song time of its record.
//
// The player sends each record when its timer notices that the record's time has come: up to a
// timer period (at most 20 ms) late, later still behind a System Exclusive message or on a busy
// machine. It tells the schedule at which instant of the monotonic clock song time falls due
// (Follow), and each message is placed at its record's instant plus a fixed latency that covers
// that lateness: the frames between messages are those between their records, however late
// each was sent. The instant is turned into a frame when the message is sent, against the
// server's clock as it stands then, so a server clock that runs apart from the monotonic clock
// (a sound card's own crystal) does not pull the messages away from the player's clock.
//
// A message sent later than the latency covers is placed as soon as it can be played, and one
// whose instant lies ahead of now is held no longer than the tolerated lateness past the latency. While the song's clock stands
// (Leave: paused, moving to a new position, stopped) every message goes out as soon as possible.
// Frames never go backwards, so the order is kept. Frame times are JACK's 32-bit frame counter,
// which wraps.

#include <cstdint>
#include <optional>

namespace velvasto {

// a − b on JACK's wrapping frame counter: negative when frame `a` comes before frame `b`.
inline std::int32_t FrameDistance(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b); }

class FrameSchedule {
 public:
  // The server's clock as the sender sees it.
  struct Clock {
    std::uint64_t nowUs;   // the monotonic clock, in microseconds, when `now` was read
    std::uint32_t now;     // jack_frame_time: the frame about to be played now, estimated
    std::uint32_t period;  // frames in one process cycle
    std::uint32_t rate;    // frames in a second
  };

  // How late the player may send a record and still have it placed at its own time: the longest
  // timer period and the scheduling delays of a loaded machine.
  static constexpr std::int64_t kToleratedLatenessUs = 22'000;
  // Room for the estimate of "now" and for the process cycle starting while a message is queued.
  static constexpr std::uint32_t kMarginUs = 1'000;

  // From now on song time `songTimeUs` falls due at `dueUs` on the monotonic clock.
  void Follow(std::uint64_t songTimeUs, std::uint64_t dueUs);
  // The song's clock stands: messages are placed as soon as possible.
  void Leave();

  // The frame for a message of the record at `timeUs`.
  std::uint32_t Place(std::uint64_t timeUs, const Clock& clock);
  // The frame for a message with no time of its own (notes off when a device is reset): after
  // everything placed so far, as soon as possible.
  std::uint32_t PlaceNow(const Clock& clock);

 private:
  struct SongClock {
    std::uint64_t songTimeUs;
    std::uint64_t dueUs;
  };

  // The earliest frame a message queued now is sure to reach the server at.
  static std::uint32_t Earliest(const Clock& clock);
  // The frame a message whose instant is now is placed at: the latency after it.
  static std::uint32_t Latest(const Clock& clock);
  std::uint32_t After(std::uint32_t frame);

  std::optional<SongClock> songClock_;
  bool placed_ = false;           // any message was placed
  std::uint32_t lastPlaced_ = 0;  // the frame of the last message
};

}  // namespace velvasto
