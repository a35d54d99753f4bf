#include "engine/virtual_clock.h"

#include <algorithm>
#include <utility>

namespace velvasto {

void VirtualClock::SleepMs(std::uint32_t ms) { nowUs_.fetch_add(std::uint64_t{ms} * 1000, std::memory_order_relaxed); }

VirtualTimer* VirtualClock::NextDue(std::uint64_t untilUs) const {
  VirtualTimer* next = nullptr;
  for (VirtualTimer* timer : timers_) {
    if (!timer->running_ || timer->deadlineUs_ > untilUs) continue;
    if (next == nullptr || timer->deadlineUs_ < next->deadlineUs_) next = timer;
  }
  return next;
}

void VirtualClock::AdvanceMs(std::uint64_t ms) {
  const std::uint64_t targetUs = NowUs() + ms * 1000;
  while (VirtualTimer* timer = NextDue(targetUs)) {
    // A deadline that a sleep already passed fires now.
    const std::uint64_t atUs = std::max(timer->deadlineUs_, NowUs());
    nowUs_.store(atUs, std::memory_order_relaxed);
    timer->deadlineUs_ += timer->periodUs_;
    if (timer->deadlineUs_ <= atUs) timer->deadlineUs_ = atUs + timer->periodUs_;
    timer->tick_();
  }
  nowUs_.store(targetUs, std::memory_order_relaxed);
}

VirtualTimer::VirtualTimer(VirtualClock& clock) : clock_(clock) { clock_.timers_.push_back(this); }

VirtualTimer::~VirtualTimer() { std::erase(clock_.timers_, this); }

void VirtualTimer::Start(std::uint32_t periodMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  periodUs_ = std::uint64_t{std::max<std::uint32_t>(periodMs, 1)} * 1000;
  deadlineUs_ = clock_.NowUs() + periodUs_;
  running_ = true;
}

void VirtualTimer::Stop() { running_ = false; }

void VirtualTimer::Fire() {
  if (!running_) return;
  deadlineUs_ = clock_.NowUs() + periodUs_;
  tick_();
}

}  // namespace velvasto
