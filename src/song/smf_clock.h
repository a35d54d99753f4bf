#pragma once
// Tick-to-microsecond conversion of a Standard MIDI File. The exact time is kept as a whole
// part and a remainder in units of 1/division microsecond, so no rounding error builds up
// however many tempo changes and steps the song has: the time of every tick is the exact time,
// rounded to the nearest microsecond (halves up).

#include <cstdint>

#include "core/errors.h"

namespace velvasto {

class SmfClock {
 public:
  // No song may last longer than 2^31 - 1 seconds (68 years): every position in whole seconds
  // then fits a signed 32-bit value. A file whose deltas and tempos go beyond is damaged.
  static constexpr std::uint64_t kMaxTimeUs = 2'147'483'647ull * 1'000'000ull;
  // 120 beats per minute, in force until the file's first tempo event.
  static constexpr std::uint32_t kDefaultMicrosecondsPerQuarter = 500'000;

  explicit SmfClock(std::uint32_t division) : division_(division) {}

  void SetTempo(std::uint32_t microsecondsPerQuarter) { microsecondsPerQuarter_ = microsecondsPerQuarter; }

  // Moves the clock `ticks` (below 2^32) ticks on at the current tempo; throws error 2 when the
  // song would pass kMaxTimeUs.
  void Advance(std::uint64_t ticks) {
    // ticks < 2^32 and the tempo < 2^24, so the sum stays far below 2^64.
    const std::uint64_t scaled = remainder_ + ticks * microsecondsPerQuarter_;
    whole_ += scaled / division_;
    remainder_ = scaled % division_;
    if (whole_ > kMaxTimeUs) throw CErrMessage(errc::kBadFileFormat);
  }

  std::uint64_t Now() const { return whole_ + (2 * remainder_ >= division_ ? 1 : 0); }
  // The exact time: WholeUs() + FractionUs().
  std::uint64_t WholeUs() const { return whole_; }
  double FractionUs() const { return static_cast<double>(remainder_) / static_cast<double>(division_); }

 private:
  std::uint64_t division_;
  std::uint64_t microsecondsPerQuarter_ = kDefaultMicrosecondsPerQuarter;
  std::uint64_t whole_ = 0;
  std::uint64_t remainder_ = 0;
};

}  // namespace velvasto
