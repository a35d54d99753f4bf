#pragma once
// The live clock: the machine's monotonic clock, with real sleeping.

#include "engine/clock.h"

namespace velvasto {

class MonotonicClock final : public Clock {
 public:
  std::uint64_t NowUs() const override;
  void SleepMs(std::uint32_t ms) override;
};

}  // namespace velvasto
