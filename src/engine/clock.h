#pragma once
// The engine's sense of time. The live engine runs on the machine's monotonic clock; tests and
// fast playback run the same engine on a virtual clock that moves only when told to.

#include <cstdint>

namespace velvasto {

class Clock {
 public:
  virtual ~Clock() = default;

  // Microseconds since a fixed origin of this clock; never goes backwards.
  virtual std::uint64_t NowUs() const = 0;
  // Lets `ms` milliseconds of this clock's time pass before returning (the pauses between
  // reset messages, before a chase, between chased messages).
  virtual void SleepMs(std::uint32_t ms) = 0;
};

}  // namespace velvasto
