#pragma once
// A periodic timer: calls its tick function once every period until stopped. The engine runs its
// dispatch and its monitor worker on two of them.

#include <cstdint>
#include <functional>

namespace velvasto {

class PeriodicTimer {
 public:
  virtual ~PeriodicTimer() = default;

  // Calls `tick` every `periodMs` milliseconds, the first time one period from now. Ticks that
  // fall due while an earlier tick still runs are skipped, not queued: the engine catches up by
  // itself. A running timer is stopped first. Throws std::system_error when no thread can be
  // made for it.
  virtual void Start(std::uint32_t periodMs, std::function<void()> tick) = 0;
  // When Stop returns no tick is running and none will run. Never called from a tick.
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

}  // namespace velvasto
