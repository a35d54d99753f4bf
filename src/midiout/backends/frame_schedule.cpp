#include "midiout/backends/frame_schedule.h"

namespace velvasto {
namespace {

std::uint32_t Frames(std::uint64_t us, std::uint32_t rate) {
  return static_cast<std::uint32_t>(us * rate / 1'000'000);
}

// a − b on the wrapping frame counter.
std::int32_t Distance(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b); }

}  // namespace

std::uint32_t FrameSchedule::Earliest(const Clock& clock) {
  return clock.now + clock.period + Frames(kMarginUs, clock.rate);
}

std::uint32_t FrameSchedule::Latest(const Clock& clock) {
  return Earliest(clock) + Frames(kToleratedLatenessUs, clock.rate);
}

std::uint32_t FrameSchedule::After(std::uint32_t frame) {
  if (placed_ && Distance(frame, lastPlaced_) < 0) frame = lastPlaced_;
  placed_ = true;
  lastPlaced_ = frame;
  return frame;
}

std::uint32_t FrameSchedule::Place(std::uint64_t timeUs, const Clock& clock) {
  const std::uint32_t elapsed = clock.now - lastSent_;
  if (started_ && timeUs == lastTimeUs_) {
    lastSent_ = clock.now;
    return After(lastPlaced_ + elapsed);
  }
  const std::uint32_t songFrames = Frames(timeUs, clock.rate);
  const std::uint32_t latest = Latest(clock);
  // The origin this message gives when it was sent with no lateness.
  const std::uint32_t candidate = latest - songFrames;
  std::uint32_t frame = latest;
  if (started_) {
    drift_ += elapsed;
    origin_ += drift_ / kDriftDivisor;
    drift_ %= kDriftDivisor;
    if (Distance(candidate, origin_) < 0) origin_ = candidate;
    frame = origin_ + songFrames;
  }
  if (!started_ || Distance(frame, Earliest(clock)) < 0) {
    origin_ = candidate;
    frame = latest;
    drift_ = 0;
  }
  started_ = true;
  lastTimeUs_ = timeUs;
  lastSent_ = clock.now;
  return After(frame);
}

std::uint32_t FrameSchedule::PlaceNow(const Clock& clock) { return After(Earliest(clock)); }

}  // namespace velvasto
