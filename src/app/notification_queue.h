#pragma once
// Carries the engine's notifications from its threads to the thread that owns the player. The
// engine posts from its worker thread (and from a transport call); the owner takes them on its
// own thread, when woken: the desktop shell by a queued event, the terminal player in its loop.
//
// Each notification carries the number of the song start it belongs to, so that the owner can
// drop what a song posted before it was stopped or started again. Notifications that only say
// "look again" are merged while they wait, so the queue never grows with the time the owner
// takes: at most one monitor notice and one position per song start wait at any time.

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace velvasto {

struct EngineNotification {
  std::uint64_t songStart;  // which start of a song posted it
  std::uint32_t message;    // UM_SONG_END, UM_ENGINE_ERROR, UM_MONITOR_EVENTS, UM_TIME_UPDATE
  std::uint32_t wParam;
  std::int32_t lParam;

  bool operator==(const EngineNotification&) const = default;
};

class NotificationQueue {
 public:
  // `wake` runs on the posting thread whenever the queue turns from empty to non-empty; it must
  // only arrange for the owner to call TakeAll (it must not call into the player).
  explicit NotificationQueue(std::function<void()> wake = nullptr) : wake_(std::move(wake)) {}
  NotificationQueue(const NotificationQueue&) = delete;
  NotificationQueue& operator=(const NotificationQueue&) = delete;

  // Any thread. A monitor notice that finds one of the same song start waiting is dropped; a
  // position replaces the waiting one of the same song start. A notification that cannot be
  // stored (out of memory) is lost.
  void Post(const EngineNotification& notification) noexcept;
  // Owner thread: everything waiting, oldest first.
  std::vector<EngineNotification> TakeAll();

 private:
  std::function<void()> wake_;
  std::mutex mutex_;
  std::vector<EngineNotification> waiting_;
};

}  // namespace velvasto
