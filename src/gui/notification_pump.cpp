#include "gui/notification_pump.h"

#include <QMetaObject>
#include <utility>

namespace velvasto::gui {

NotificationPump::NotificationPump(Task processNotifications, QObject* parent)
    : QObject(parent), processNotifications_(std::move(processNotifications)) {}

void NotificationPump::WakeFromAnyThread() {
  const std::lock_guard lock(mutex_);
  notificationsWaiting_ = true;
  Schedule();
}

void NotificationPump::Post(Task task) {
  const std::lock_guard lock(mutex_);
  tasks_.push_back(std::move(task));
  Schedule();
}

void NotificationPump::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QMetaObject::invokeMethod(
      this, [this] { RunWaiting(); }, Qt::QueuedConnection);
}

// One piece of work per turn of the event loop, so that painting and input go on between them;
// the hold's release asks for the next turn.
void NotificationPump::RunWaiting() {
  Task task;
  {
    const std::lock_guard lock(mutex_);
    scheduled_ = false;
    if (holds_ > 0) return;
    if (!tasks_.empty()) {
      task = std::move(tasks_.front());
      tasks_.pop_front();
    } else if (notificationsWaiting_) {
      notificationsWaiting_ = false;
    } else {
      return;
    }
  }
  const Hold hold(*this);
  if (task) {
    task();
  } else {
    processNotifications_();
  }
}

NotificationPump::Hold::Hold(NotificationPump& pump) : pump_(pump) { ++pump_.holds_; }

NotificationPump::Hold::~Hold() {
  if (--pump_.holds_ > 0) return;
  const std::lock_guard lock(pump_.mutex_);
  if (!pump_.tasks_.empty() || pump_.notificationsWaiting_) pump_.Schedule();
}

}  // namespace velvasto::gui
