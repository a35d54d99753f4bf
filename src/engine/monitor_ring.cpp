#include "engine/monitor_ring.h"

namespace velvasto {

EngineMonitorRing::EngineMonitorRing() : slots_(std::make_unique<MonitorEntry[]>(kMonitorRingSize)) {}

bool EngineMonitorRing::TryPush(const MonitorEntry& entry) {
  const std::uint64_t written = written_.load(std::memory_order_relaxed);
  if (written - taken_.load(std::memory_order_acquire) >= kMonitorRingSize) return false;
  slots_[written % kMonitorRingSize] = entry;
  written_.store(written + 1, std::memory_order_release);
  return true;
}

void EngineMonitorRing::Clear() { taken_.store(written_.load(std::memory_order_acquire), std::memory_order_release); }

ApplicationMonitorRing::ApplicationMonitorRing() : slots_(std::make_unique<MonitorEntry[]>(kMonitorRingSize)) {}

bool ApplicationMonitorRing::PushLocked(const MonitorEntry& entry) {
  if (count_ == kMonitorRingSize) return false;
  slots_[write_] = entry;
  write_ = (write_ + 1) % kMonitorRingSize;
  ++count_;
  return true;
}

bool ApplicationMonitorRing::Push(const MonitorEntry& entry) {
  std::lock_guard lock(mutex_);
  return PushLocked(entry);
}

std::uint32_t ApplicationMonitorRing::TransferFrom(EngineMonitorRing& from) {
  std::lock_guard lock(mutex_);
  std::uint32_t appended = 0;
  from.TakeAll([&](const MonitorEntry& entry) {
    if (PushLocked(entry)) ++appended;
  });
  return appended;
}

void ApplicationMonitorRing::TakeAll(std::vector<MonitorEntry>& out) {
  out.clear();
  std::lock_guard lock(mutex_);
  out.reserve(count_);
  for (; count_ > 0; --count_) {
    out.push_back(slots_[read_]);
    read_ = (read_ + 1) % kMonitorRingSize;
  }
}

void ApplicationMonitorRing::Clear() {
  std::lock_guard lock(mutex_);
  read_ = write_ = count_ = 0;
}

std::uint32_t ApplicationMonitorRing::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

}  // namespace velvasto
