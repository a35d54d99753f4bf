#include "engine/steady_periodic_timer.h"

#include <pthread.h>
#include <sched.h>

#include <utility>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace velvasto {

SteadyPeriodicTimer::~SteadyPeriodicTimer() { Stop(); }

void SteadyPeriodicTimer::Start(std::uint32_t periodMs, std::function<void()> tick) {
  Stop();
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
  }
  // The grid of deadlines starts now, not when the thread gets going.
  const auto firstDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(periodMs);
  thread_ = std::thread([this, periodMs, firstDeadline, tick = std::move(tick)] { Run(periodMs, firstDeadline, tick); });
}

void SteadyPeriodicTimer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SteadyPeriodicTimer::Run(std::uint32_t periodMs, std::chrono::steady_clock::time_point firstDeadline,
                              const std::function<void()>& tick) {
  using Clock = std::chrono::steady_clock;
  const Clock::duration period = std::chrono::milliseconds(periodMs);
  Clock::time_point deadline = firstDeadline;
#ifdef __linux__
  // Wake at the deadline itself rather than within the default 50 µs slack.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  if (priority_ == Priority::RealTime) {
    // Refused without the privilege; the timer then runs at normal priority.
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
  }
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
