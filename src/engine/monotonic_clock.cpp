#include "engine/monotonic_clock.h"

#include <chrono>
#include <thread>

namespace velvasto {

std::uint64_t MonotonicClock::NowUs() const {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceOrigin).count());
}

void MonotonicClock::SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace velvasto
