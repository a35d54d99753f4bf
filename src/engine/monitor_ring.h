#pragma once
// The two monitor rings of 3000 entries. An entry that finds its ring full is lost; playback is
// never held up for the monitor.
//
// The engine ring has one writer (the timer callback) and one reader (the worker) and takes no
// lock, so the callback never waits for the worker. The application ring is written by the
// worker and by the transport and read by the user interface; each access takes a short lock.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/monitor_entry.h"

namespace velvasto {

inline constexpr std::uint32_t kMonitorRingSize = 3000;

class EngineMonitorRing {
 public:
  EngineMonitorRing();

  // Writer side. False when the ring is full and the entry was dropped.
  bool TryPush(const MonitorEntry& entry);
  // Reader side: hands every entry present at the call to `take`, oldest first, and frees it.
  template <typename Take>
  std::uint32_t TakeAll(Take&& take);
  // Drops every entry; only while neither the writer nor the reader runs.
  void Clear();

 private:
  std::unique_ptr<MonitorEntry[]> slots_;
  // Counters of entries ever written and ever taken; their difference is the count.
  std::atomic<std::uint64_t> written_{0};
  std::atomic<std::uint64_t> taken_{0};
};

class ApplicationMonitorRing {
 public:
  ApplicationMonitorRing();

  // False when the ring is full and the entry was dropped.
  bool Push(const MonitorEntry& entry);
  // Moves every entry present in `from` over; entries that find this ring full are dropped.
  // Returns how many were appended.
  std::uint32_t TransferFrom(EngineMonitorRing& from);
  // Replaces the contents of `out` with every entry waiting here, oldest first.
  void TakeAll(std::vector<MonitorEntry>& out);
  void Clear();
  std::uint32_t Count() const;

 private:
  bool PushLocked(const MonitorEntry& entry);

  mutable std::mutex mutex_;
  std::unique_ptr<MonitorEntry[]> slots_;
  std::uint32_t read_ = 0;
  std::uint32_t write_ = 0;
  std::uint32_t count_ = 0;
};

template <typename Take>
std::uint32_t EngineMonitorRing::TakeAll(Take&& take) {
  const std::uint64_t written = written_.load(std::memory_order_acquire);
  std::uint64_t taken = taken_.load(std::memory_order_relaxed);
  const auto count = static_cast<std::uint32_t>(written - taken);
  for (; taken != written; ++taken) take(slots_[taken % kMonitorRingSize]);
  taken_.store(taken, std::memory_order_release);
  return count;
}

}  // namespace velvasto
