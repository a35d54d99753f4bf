#include "gui/monitor/refresh_timer.h"

#include <QTimerEvent>
#include <chrono>
#include <utility>

namespace velvasto::gui {

CatchUp CatchUpTicks(std::uint32_t start, std::uint32_t now, std::uint32_t interval) {
  const std::uint32_t elapsed = now - start;
  if (interval == 0 || elapsed < interval) return {0, start};
  const std::uint32_t ticks = elapsed / interval;
  return {ticks, start + ticks * interval};
}

CRefreshTimer::CRefreshTimer(std::uint32_t intervalMs, int timerId, std::function<void(int)> owner)
    : intervalMs_(intervalMs), timerId_(timerId), owner_(std::move(owner)) {}

bool CRefreshTimer::Start() {
  if (!owner_) return false;
  if (loop_ == Loop::Sleeping) {
    timer_.start(static_cast<int>(intervalMs_), Qt::PreciseTimer, this);
  } else {
    catchUpStart_ = NowMs();
    timer_.start(static_cast<int>(kCatchUpWakeMs), Qt::PreciseTimer, this);
  }
  return timer_.isActive();
}

bool CRefreshTimer::Stop() {
  if (!periodic_) return false;
  timer_.stop();
  return true;
}

void CRefreshTimer::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QObject::timerEvent(event);
    return;
  }
  if (loop_ == Loop::Sleeping) {
    if (!periodic_) timer_.stop();
    Tick();
    return;
  }
  const CatchUp due = CatchUpTicks(catchUpStart_, NowMs(), intervalMs_);
  if (due.ticks == 0) return;
  if (!periodic_) {
    timer_.stop();
    Tick();
    return;
  }
  catchUpStart_ = due.start;
  // The owner may stop the timer during a tick; the rest of the burst is then dropped.
  for (std::uint32_t i = 0; i < due.ticks && timer_.isActive(); ++i) Tick();
}

void CRefreshTimer::Tick() { owner_(timerId_); }

std::uint32_t CRefreshTimer::NowMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace velvasto::gui
