#pragma once
// The check shared by the RCP and G36 fuzz targets: load the bytes as a file of the reader's
// kind; a load either fails with one of the program's errors or yields a table that ends in
// the end record, runs forward in time and holds complete exclusive messages.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/errors.h"
#include "song/midi_stream.h"
#include "song/rcp_limits.h"

namespace velvasto::fuzz {

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Settings that reach every branch of the conversion. The loop limit is low so that the
// fuzzer spends its time on the commands rather than on rounds of the same loop.
inline SongSettings FuzzSettings() {
  SongSettings settings;
  settings.portCount = 2;
  settings.mapMode = 2;
  settings.forceMap = 1;
  settings.adjust55 = true;
  settings.fix8850 = true;
  settings.rcpLoopLimit = 4;
  return settings;
}

// Pass limits far below the defaults, so that a file that loops without end is refused within
// milliseconds instead of the default limits' second.
inline RcpPassLimits FuzzLimits() { return {1u << 18, 1u << 18, 24ull * 60 * 60 * 1'000'000}; }

template <typename Reader>
void LoadAndCheck(const std::uint8_t* data, std::size_t size, const char* name) {
  if (size == 0) return;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
      fmemopen(const_cast<std::uint8_t*>(data), size, "rb"), &std::fclose);
  Check(file != nullptr);
  Reader reader(FuzzSettings(), FuzzLimits());
  try {
    // The song seems to come from a folder that does not exist, so that no control file named
    // in the bytes is ever found: each run depends on the bytes alone.
    if (!reader.Load(file.get(), std::string("/nonexistent-velvasto-fuzz/") + name)) return;
  } catch (const CErrMessage&) {
    Check(!reader.Loaded());
    return;
  }
  const auto events = reader.Events();
  Check(!events.empty() && events.back().status == kStatusEnd);
  for (std::size_t i = 1; i < events.size(); ++i) Check(events[i - 1].time <= events[i].time);
  for (const StreamEvent& event : events) {
    if (event.status != kStatusSysEx) continue;
    const auto bytes = reader.SysExData(event);
    Check(bytes.size() >= 2 && bytes.front() == 0xF0 && bytes.back() == 0xF7);
  }
  (void)reader.Info();
}

}  // namespace velvasto::fuzz
