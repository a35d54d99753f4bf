#include "app/notification_queue.h"

#include <algorithm>

#include "engine/engine_notifications.h"

namespace velvasto {

void NotificationQueue::Post(const EngineNotification& notification) noexcept {
  bool wasEmpty = false;
  {
    std::lock_guard lock(mutex_);
    const auto waiting = std::find_if(waiting_.begin(), waiting_.end(), [&](const EngineNotification& queued) {
      return queued.songStart == notification.songStart && queued.message == notification.message;
    });
    if (waiting != waiting_.end() && notification.message == UM_MONITOR_EVENTS) return;
    if (waiting != waiting_.end() && notification.message == UM_TIME_UPDATE) {
      waiting->wParam = notification.wParam;
      return;
    }
    wasEmpty = waiting_.empty();
    try {
      waiting_.push_back(notification);
    } catch (...) {
      return;
    }
  }
  if (wasEmpty && wake_) {
    try {
      wake_();
    } catch (...) {
      // The owner looks at the queue again on its next wake.
    }
  }
}

std::vector<EngineNotification> NotificationQueue::TakeAll() {
  std::vector<EngineNotification> taken;
  std::lock_guard lock(mutex_);
  taken.swap(waiting_);
  return taken;
}

}  // namespace velvasto
