#include "midiout/backends/frame_schedule.h"

#include <algorithm>

namespace velvasto {
namespace {

std::int64_t Frames(std::int64_t us, std::uint32_t rate) { return us * rate / 1'000'000; }

}  // namespace

std::uint32_t FrameSchedule::Earliest(const Clock& clock) {
  return clock.now + clock.period + static_cast<std::uint32_t>(Frames(kMarginUs, clock.rate));
}

std::uint32_t FrameSchedule::Latest(const Clock& clock) {
  return Earliest(clock) + static_cast<std::uint32_t>(Frames(kToleratedLatenessUs, clock.rate));
}

std::uint32_t FrameSchedule::After(std::uint32_t frame) {
  if (placed_ && FrameDistance(frame, lastPlaced_) < 0) frame = lastPlaced_;
  placed_ = true;
  lastPlaced_ = frame;
  return frame;
}

void FrameSchedule::Follow(std::uint64_t songTimeUs, std::uint64_t dueUs) { songClock_ = {songTimeUs, dueUs}; }

void FrameSchedule::Leave() { songClock_.reset(); }

std::uint32_t FrameSchedule::Place(std::uint64_t timeUs, const Clock& clock) {
  if (!songClock_) return PlaceNow(clock);
  // How far the record's instant lies ahead of now (behind it when negative); the subtraction
  // wraps for records before the clock's song time.
  const auto aheadUs = static_cast<std::int64_t>(songClock_->dueUs + (timeUs - songClock_->songTimeUs) - clock.nowUs);
  const std::int64_t placedUs = std::clamp(aheadUs, -kToleratedLatenessUs, kToleratedLatenessUs);
  return After(Latest(clock) + static_cast<std::uint32_t>(Frames(placedUs, clock.rate)));
}

std::uint32_t FrameSchedule::PlaceNow(const Clock& clock) { return After(Earliest(clock)); }

}  // namespace velvasto
