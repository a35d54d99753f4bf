#pragma once
// The clock of the Recomposer conversion: turns ticks at a tempo in quarter notes per minute
// and a time base in ticks per quarter note into microseconds. The remainder of every step is
// carried to the next one, so advancing k ticks at once gives exactly the time of k single
// ticks: after n ticks at one tempo the time is n × 60,000,000 / (tempo × time base), rounded
// down.

#include <cstdint>

namespace velvasto {

class TickClock {
 public:
  TickClock(std::uint32_t tempo, std::uint32_t timeBase) : tempo_(tempo), timeBase_(timeBase) {}

  // A new tempo for the ticks to come; the carried remainder stays.
  void SetTempo(std::uint32_t tempo) { tempo_ = tempo; }
  std::uint32_t Tempo() const { return tempo_; }

  // Moves the time on by `ticks` (at most 2^32) at the current tempo. With tempo or time base
  // 0 the time stands still.
  void AdvanceTicks(std::uint64_t ticks) {
    if (tempo_ == 0 || timeBase_ == 0) return;
    const std::uint64_t ticksPerMinute = static_cast<std::uint64_t>(tempo_) * timeBase_;
    const std::uint64_t total = remainder_ + ticks * kMicrosecondsPerMinute;
    const std::uint64_t elapsed = total / ticksPerMinute;
    time_ += elapsed;
    remainder_ = total - elapsed * ticksPerMinute;
  }

  // Moves the time on by `ticks` times the length of the next tick: the remainder is carried
  // once, not once a tick, so the time lands within `ticks` microseconds of the exact time and
  // the carry makes up the difference over the following steps. The control blocks are paced
  // this way.
  void AdvanceTicksCarriedOnce(std::uint64_t ticks) {
    if (tempo_ == 0 || timeBase_ == 0) return;
    const std::uint64_t ticksPerMinute = static_cast<std::uint64_t>(tempo_) * timeBase_;
    const std::uint64_t total = remainder_ + kMicrosecondsPerMinute;
    const std::uint64_t tick = total / ticksPerMinute;
    time_ += ticks * tick;
    remainder_ = total - tick * ticksPerMinute;
  }

  // Moves the time on by `us` microseconds; the carried remainder stays.
  void AdvanceTime(std::uint64_t us) { time_ += us; }

  std::uint64_t Time() const { return time_; }
  // The part of a microsecond the carried remainder stands for at the current tempo: the exact
  // time is Time() + Fraction().
  double Fraction() const {
    if (tempo_ == 0 || timeBase_ == 0) return 0;
    return static_cast<double>(remainder_) / (static_cast<double>(tempo_) * timeBase_);
  }

 private:
  static constexpr std::uint64_t kMicrosecondsPerMinute = 60'000'000;

  std::uint32_t tempo_;
  std::uint32_t timeBase_;
  std::uint64_t time_ = 0;
  std::uint64_t remainder_ = 0;
};

}  // namespace velvasto
