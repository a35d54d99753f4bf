#pragma once
// Keeps every notification the engine posts, for tests to look at from any thread.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/engine_notifications.h"

namespace velvasto::test {

struct Posted {
  std::uint32_t message;
  std::uint32_t wParam;
  std::int32_t lParam;
  bool operator==(const Posted&) const = default;
};

class RecordingSink final : public EngineNotificationSink {
 public:
  void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept override {
    {
      std::lock_guard lock(mutex_);
      posted_.push_back({message, wParam, lParam});
    }
    arrived_.notify_all();
  }

  std::vector<Posted> All() const {
    std::lock_guard lock(mutex_);
    return posted_;
  }
  // The parameters of every posting of `message`, in order.
  std::vector<std::uint32_t> WParams(std::uint32_t message) const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint32_t> values;
    for (const Posted& p : posted_) {
      if (p.message == message) values.push_back(p.wParam);
    }
    return values;
  }
  std::size_t Count(std::uint32_t message) const { return WParams(message).size(); }
  // Waits, without a time limit, until `message` has been posted at least `count` times.
  void WaitFor(std::uint32_t message, std::size_t count = 1) {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [&] {
      std::size_t seen = 0;
      for (const Posted& p : posted_) seen += p.message == message ? 1 : 0;
      return seen >= count;
    });
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    posted_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Posted> posted_;
};

}  // namespace velvasto::test
