#pragma once
// The playback timer period, in whole milliseconds. The timer can run at any period from 1 ms;
// periods above 20 ms are never used, as the song would audibly stutter.

#include <cstdint>

namespace velvasto {

class CINIFile;

inline constexpr std::uint32_t kMinTimerPeriodMs = 1;
inline constexpr std::uint32_t kMaxTimerPeriodMs = 20;
// "Timer Period" when the settings do not have it.
inline constexpr std::int32_t kDefaultTimerPeriodMs = 5;

// A "Timer Period" setting brought into the timer's range: raised to the minimum, lowered to the
// maximum.
std::uint32_t ClampTimerPeriod(std::int64_t settingMs);
// "Timer Period" of the settings file, brought into range.
std::uint32_t ReadTimerPeriod(const CINIFile& settings);

}  // namespace velvasto
