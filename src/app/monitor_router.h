#pragma once
// Hands the monitor entries of the playing song to the meters by kind, and keeps the master
// volume lock of each port: during one song a port's master volume follows only the first kind
// of master-volume message that set a value above 0, or none at all once a CM-64 control file
// started on it.

#include <array>
#include <cstdint>

#include "app/monitor_sink.h"
#include "engine/monitor_entry.h"

namespace velvasto {

// The kind of master-volume message an entry recorded: 4 universal (F0 7F 04 01 00), 3 XG
// (F0 43 10 4C 00 00 04), 1 GS (F0 41 10 42 12 40 00 04), 0 anything else.
std::uint32_t MasterMessageKind(const MonitorEntry& entry);

class MonitorRouter {
 public:
  // The lock a GS sound-data file sets; a CM-64 file sets kCm6Lock, which no message matches.
  static constexpr std::uint32_t kGsLock = 1;
  static constexpr std::uint32_t kCm6Lock = 2;

  explicit MonitorRouter(MonitorSink& sink) : sink_(sink) {}

  // A song starts: both ports unlocked.
  void ClearLocks() { locks_ = {}; }
  // A control file starts on port 0 or 1.
  void Lock(std::uint32_t port, std::uint32_t lock);

  // Hands a channel, tempo or master-volume entry on; false for the control-block kinds (8 to
  // 14), which are the caller's, and for entries of no known port.
  bool Route(const MonitorEntry& entry);
  // Asks each piano roll that received entries since the last call to repaint.
  void RepaintTouchedRolls();

 private:
  MonitorSink& sink_;
  std::array<std::uint32_t, 2> locks_{};
  std::array<bool, 2> touched_{};
};

}  // namespace velvasto
