#pragma once
// When a message to a JACK MIDI port is played: the frame of the server's clock that stands for
// the song time of its record.
//
// The player sends each record when its timer notices that the record's time has come, up to a
// timer period (at most 20 ms) late. Sent at once, every message would inherit that lateness and
// the JACK period on top. Instead each message is placed a fixed latency after "now" minus its
// own lateness, estimated against the least late message so far: the frames between messages
// are then those between their records. Frame times are JACK's 32-bit frame counter, which wraps.
//
// What breaks the song's clock — a pause, a seek, the reset messages before a song, a chase that
// sends every message with the target's time while it spaces them out — shows as a message that
// could no longer be placed in time, or one whose place lies past the latency: the estimate then
// starts again from that message. Messages with the same record time as the one before keep the
// spacing they were sent with, and frames never go backwards, so the order is kept.

#include <cstdint>

namespace velvasto {

class FrameSchedule {
 public:
  // The server's clock as the sender sees it.
  struct Clock {
    std::uint32_t now;     // jack_frame_time: the frame about to be played now, estimated
    std::uint32_t period;  // frames in one process cycle
    std::uint32_t rate;    // frames in a second
  };

  // How late the player may send a record and still have it placed at its own time: the longest
  // timer period and the scheduling delays of a loaded machine.
  static constexpr std::uint32_t kToleratedLatenessUs = 22'000;
  // Room for the estimate of "now" and for the process cycle starting while a message is queued.
  static constexpr std::uint32_t kMarginUs = 1'000;
  // The estimate of song time 0 moves later by one frame in this many that pass (unless a
  // message sent with less lateness sets it), so that it recovers from coming out early — after
  // a short pause, or with a server clock that runs fast against the player's. A hundred parts
  // per million: more than sound cards drift, a tenth of a millisecond a second.
  static constexpr std::uint32_t kDriftDivisor = 10'000;

  // The frame for a message of the record at `timeUs`.
  std::uint32_t Place(std::uint64_t timeUs, const Clock& clock);
  // The frame for a message with no time of its own (notes off when a device is reset): after
  // everything placed so far, as soon as possible.
  std::uint32_t PlaceNow(const Clock& clock);

 private:
  // The earliest frame a message queued now is sure to reach the server at.
  static std::uint32_t Earliest(const Clock& clock);
  // The frame a message sent now with no lateness is placed at.
  static std::uint32_t Latest(const Clock& clock);
  std::uint32_t After(std::uint32_t frame);

  bool started_ = false;  // a message with a time was placed
  bool placed_ = false;   // any message was placed
  // The frame of song time 0 by the estimate, and a last song time in frames, wrapping.
  std::uint32_t origin_ = 0;
  std::uint32_t drift_ = 0;  // frames passed that have not moved the origin yet
  std::uint64_t lastTimeUs_ = 0;
  std::uint32_t lastSent_ = 0;    // `now` when the last message was placed
  std::uint32_t lastPlaced_ = 0;  // the frame of the last message
};

}  // namespace velvasto
