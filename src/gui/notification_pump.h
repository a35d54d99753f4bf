#pragma once
// Runs work that arrives from outside the user's own actions — the engine's notifications,
// requests of later starts, dropped files, the close after a single song — on the window's
// thread, one piece at a time, and never inside an operation of the player that is still
// running. An operation of the player may open a message box or a file dialog, whose nested
// event loop would otherwise run such work in the middle of the operation; while an operation
// holds the pump, the work waits, and it runs once the last hold is released. Nothing that
// arrives meanwhile is lost.

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

namespace velvasto::gui {

class NotificationPump final : public QObject {
 public:
  using Task = std::function<void()>;

  // `processNotifications` takes what the engine posted; it runs on this object's thread.
  explicit NotificationPump(Task processNotifications, QObject* parent = nullptr);

  // Any thread: the engine posted notifications. Wake-ups that come while one waits are merged.
  void WakeFromAnyThread();
  // Any thread: `task` runs on this object's thread after the tasks posted before it. It must
  // not throw.
  void Post(Task task);

  // While one exists, nothing posted runs. Held by every operation of the player that the window
  // starts, and by each task while it runs.
  class Hold {
   public:
    explicit Hold(NotificationPump& pump);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    NotificationPump& pump_;
  };

 private:
  // Asks the event loop to run what waits (any thread, with the mutex held).
  void Schedule();
  // Runs what waits, unless held (this object's thread).
  void RunWaiting();

  Task processNotifications_;
  std::mutex mutex_;
  std::deque<Task> tasks_;
  bool notificationsWaiting_ = false;
  bool scheduled_ = false;
  int holds_ = 0;  // this object's thread only
};

}  // namespace velvasto::gui
