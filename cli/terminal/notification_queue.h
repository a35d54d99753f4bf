#pragma once
// The engine's notifications handed to the terminal player's loop: the engine posts them on its
// worker thread, the queue keeps them and wakes the loop (PlayerInput::Wake), and the loop takes
// them in order on its own thread.
//
// Posting never allocates and never blocks for long. Position and monitor notices replace one
// still waiting of their kind (only the latest position matters), so the queue cannot fill up
// with them; the end and error notices come at most once a song each.

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "cli/terminal/player_input.h"
#include "engine/engine_notifications.h"

namespace velvasto::cli {

struct Notification {
  std::uint32_t message = 0;
  std::uint32_t wParam = 0;
  std::int32_t lParam = 0;
};

class NotificationQueue final : public EngineNotificationSink {
 public:
  explicit NotificationQueue(const PlayerInput& input) : input_(input) {}

  void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept override;
  // Replaces `out` with the notifications waiting, oldest first.
  void TakeAll(std::vector<Notification>& out);

 private:
  static constexpr std::size_t kCapacity = 32;

  const PlayerInput& input_;
  std::mutex mutex_;
  std::array<Notification, kCapacity> waiting_{};
  std::size_t count_ = 0;
};

}  // namespace velvasto::cli
