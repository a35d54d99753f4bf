#pragma once
// The live periodic timer: a thread of its own that waits for absolute deadlines on the monotonic
// clock, so that the period does not drift by the time each tick takes.

#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/periodic_timer.h"

namespace velvasto {

class SteadyPeriodicTimer final : public PeriodicTimer {
 public:
  SteadyPeriodicTimer() = default;
  ~SteadyPeriodicTimer() override;
  SteadyPeriodicTimer(const SteadyPeriodicTimer&) = delete;
  SteadyPeriodicTimer& operator=(const SteadyPeriodicTimer&) = delete;

  void Start(std::uint32_t periodMs, std::function<void()> tick) override;
  void Stop() override;
  bool Running() const override { return thread_.joinable(); }

 private:
  void Run(std::uint32_t periodMs, const std::function<void()>& tick);

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
};

}  // namespace velvasto
