#include "song/tempo_map.h"

#include <algorithm>

namespace velvasto {

void TempoMap::Reset(std::uint32_t ticksPerQuarter) {
  ticksPerQuarter_ = ticksPerQuarter;
  songStartTick_ = 0;
  segments_.clear();
  meters_.clear();
}

void TempoMap::AddSegment(const Segment& segment) {
  if (!segments_.empty() && segments_.back().tick == segment.tick) {
    segments_.back() = segment;
  } else {
    segments_.push_back(segment);
  }
}

void TempoMap::AddMeter(const Meter& meter) {
  if (!meters_.empty() && meters_.back().tick == meter.tick) {
    meters_.back() = meter;
  } else {
    meters_.push_back(meter);
  }
}

bool TempoMap::Usable() const {
  return ticksPerQuarter_ != 0 && !segments_.empty() && segments_.front().tick == 0 &&
         std::all_of(segments_.begin(), segments_.end(), [](const Segment& s) { return s.quarterUs > 0; });
}

}  // namespace velvasto
