#include "engine/stall_watch.h"

namespace velvasto {

bool StallWatch::Stalled(const PlaybackEngine* engine, std::uint64_t clockUs) {
  if (engine == nullptr || engine->GetState() != PlaybackEngine::State::Playing) {
    songTimeUs_.reset();
    return false;
  }
  const std::uint64_t songTimeUs = engine->SongTimeUs();
  if (songTimeUs_ != songTimeUs) {
    songTimeUs_ = songTimeUs;
    sinceUs_ = clockUs;
    return false;
  }
  return clockUs - sinceUs_ > kLimitUs;
}

}  // namespace velvasto
