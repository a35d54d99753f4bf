#include "cli/terminal/notification_queue.h"

namespace velvasto::cli {

void NotificationQueue::Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept {
  {
    std::lock_guard lock(mutex_);
    const bool replaceable = message == UM_TIME_UPDATE || message == UM_MONITOR_EVENTS;
    Notification* slot = nullptr;
    for (std::size_t i = 0; replaceable && i < count_; ++i) {
      if (waiting_[i].message == message) slot = &waiting_[i];
    }
    if (slot == nullptr && count_ < kCapacity) slot = &waiting_[count_++];
    // A full queue holds only end and error notices, which a loop that takes nothing any more
    // no longer needs.
    if (slot != nullptr) *slot = {message, wParam, lParam};
  }
  input_.Wake();
}

void NotificationQueue::TakeAll(std::vector<Notification>& out) {
  std::lock_guard lock(mutex_);
  out.assign(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(count_));
  count_ = 0;
}

}  // namespace velvasto::cli
