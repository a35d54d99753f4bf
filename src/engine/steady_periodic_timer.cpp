#include "engine/steady_periodic_timer.h"

#include <chrono>
#include <utility>

namespace velvasto {

SteadyPeriodicTimer::~SteadyPeriodicTimer() { Stop(); }

void SteadyPeriodicTimer::Start(std::uint32_t periodMs, std::function<void()> tick) {
  Stop();
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
  }
  thread_ = std::thread([this, periodMs, tick = std::move(tick)] { Run(periodMs, tick); });
}

void SteadyPeriodicTimer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SteadyPeriodicTimer::Run(std::uint32_t periodMs, const std::function<void()>& tick) {
  using Clock = std::chrono::steady_clock;
  const Clock::duration period = std::chrono::milliseconds(periodMs);
  Clock::time_point deadline = Clock::now() + period;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (wake_.wait_until(lock, deadline, [this] { return stopRequested_; })) return;
    lock.unlock();
    tick();
    lock.lock();
    // Keep to the grid of deadlines; deadlines that passed while the tick ran are skipped.
    deadline += period;
    const Clock::time_point now = Clock::now();
    if (deadline <= now) deadline += ((now - deadline) / period + 1) * period;
  }
}

}  // namespace velvasto
