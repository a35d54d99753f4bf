#include "engine/timer_period.h"

#include <algorithm>

#include "core/cini_file.h"

namespace velvasto {

std::uint32_t ClampTimerPeriod(std::int64_t settingMs) {
  return static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(settingMs, kMinTimerPeriodMs, kMaxTimerPeriodMs));
}

std::uint32_t ReadTimerPeriod(const CINIFile& settings) {
  return ClampTimerPeriod(settings.ReadInt("Timer Period", kDefaultTimerPeriodMs));
}

}  // namespace velvasto
