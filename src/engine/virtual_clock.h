#pragma once
// Virtual time for tests and fast playback. Time moves only when the owner advances it; timers
// tied to the clock fire at their deadlines as time passes over them, on the advancing thread.
// A whole song thus plays as fast as the machine allows, through the very same engine code,
// with every send happening at the virtual time live play would reach it.
//
// A virtual clock and its timers are driven from one thread at a time.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/clock.h"
#include "engine/periodic_timer.h"

namespace velvasto {

class VirtualTimer;

class VirtualClock final : public Clock {
 public:
  VirtualClock() = default;
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  std::uint64_t NowUs() const override { return nowUs_.load(std::memory_order_relaxed); }
  // Time passes without any timer firing, as for a thread that sleeps.
  void SleepMs(std::uint32_t ms) override;

  // Moves time forward by `ms`, firing every running timer at each of its deadlines on the way,
  // in time order (timers due at the same instant in the order they were made).
  void AdvanceMs(std::uint64_t ms);

 private:
  friend class VirtualTimer;
  VirtualTimer* NextDue(std::uint64_t untilUs) const;

  std::atomic<std::uint64_t> nowUs_{0};
  std::vector<VirtualTimer*> timers_;
};

class VirtualTimer final : public PeriodicTimer {
 public:
  explicit VirtualTimer(VirtualClock& clock);
  ~VirtualTimer() override;
  VirtualTimer(const VirtualTimer&) = delete;
  VirtualTimer& operator=(const VirtualTimer&) = delete;

  void Start(std::uint32_t periodMs, std::function<void()> tick) override;
  void Stop() override;
  bool Running() const override { return running_; }

  // Runs one tick at the current time, as a timer that came late would, and starts the next
  // period from now. Does nothing while the timer is stopped.
  void Fire();

 private:
  friend class VirtualClock;

  VirtualClock& clock_;
  std::function<void()> tick_;
  std::uint64_t periodUs_ = 0;
  std::uint64_t deadlineUs_ = 0;
  bool running_ = false;
};

}  // namespace velvasto
