#pragma once
// The live periodic timer: a thread of its own that waits for absolute deadlines on the monotonic
// clock, so that the period does not drift by the time each tick takes.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/periodic_timer.h"

namespace velvasto {

class SteadyPeriodicTimer final : public PeriodicTimer {
 public:
  enum class Priority {
    Normal,
    // Real-time scheduling where the system grants it (else normal): ticks keep time while
    // other programs keep the machine busy. For the dispatch timer, whose tick is short.
    RealTime
  };

  explicit SteadyPeriodicTimer(Priority priority = Priority::Normal) : priority_(priority) {}
  ~SteadyPeriodicTimer() override;
  SteadyPeriodicTimer(const SteadyPeriodicTimer&) = delete;
  SteadyPeriodicTimer& operator=(const SteadyPeriodicTimer&) = delete;

  void Start(std::uint32_t periodMs, std::function<void()> tick) override;
  void Stop() override;
  bool Running() const override { return thread_.joinable(); }

 private:
  void Run(std::uint32_t periodMs, std::chrono::steady_clock::time_point firstDeadline,
           const std::function<void()>& tick);

  Priority priority_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
};

}  // namespace velvasto
