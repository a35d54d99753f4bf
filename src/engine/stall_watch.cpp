#include "engine/stall_watch.h"

namespace velvasto {

bool StallWatch::Stalled(bool playing, std::uint64_t songTimeUs, std::uint64_t clockUs) {
  if (!playing) {
    songTimeUs_.reset();
    return false;
  }
  if (songTimeUs_ != songTimeUs) {
    songTimeUs_ = songTimeUs;
    sinceUs_ = clockUs;
    return false;
  }
  return clockUs - sinceUs_ > kLimitUs;
}

}  // namespace velvasto
