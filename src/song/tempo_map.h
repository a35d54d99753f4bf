#pragma once
// How the ticks of a song lie on the table's time axis: the tempo in force from each tick on,
// with the exact time at which that tick falls, and the meters the song declares. The readers
// record it while they fill the table; the Standard MIDI File writer turns the table's times
// back into ticks with it.
//
// Ticks count from the start of the table. Recomposer songs give the pauses of their control
// blocks ticks of their own before the song's first tick (see SongStartTick).

#include <cstdint>
#include <span>
#include <vector>

namespace velvasto {

class TempoMap {
 public:
  struct Segment {
    std::uint64_t tick;
    // The exact time of `tick`: whole microseconds and the fraction of a microsecond beyond them.
    std::uint64_t timeUs;
    double fractionUs;
    // How long a quarter note lasts from `tick` on, in microseconds (0: time stands still).
    double quarterUs;
  };
  struct Meter {
    std::uint64_t tick;
    std::uint8_t numerator;
    std::uint8_t denominatorPower;  // the denominator is 2 to this power
  };

  // Starts an empty map for `ticksPerQuarter` ticks a quarter note.
  void Reset(std::uint32_t ticksPerQuarter);
  // A tempo from segment.tick on; a segment at the tick of the last one replaces it. Ticks are
  // given in order.
  void AddSegment(const Segment& segment);
  void AddMeter(const Meter& meter);
  void SetSongStartTick(std::uint64_t tick) { songStartTick_ = tick; }

  std::uint32_t TicksPerQuarter() const { return ticksPerQuarter_; }
  std::span<const Segment> Segments() const { return segments_; }
  std::span<const Meter> Meters() const { return meters_; }
  // The tick of the song proper's first tick; 0 without control blocks.
  std::uint64_t SongStartTick() const { return songStartTick_; }
  // Whether ticks can be found for the table's times: a time base and a tempo in which time
  // runs, everywhere.
  bool Usable() const;

 private:
  std::uint32_t ticksPerQuarter_ = 0;
  std::uint64_t songStartTick_ = 0;
  std::vector<Segment> segments_;
  std::vector<Meter> meters_;
};

}  // namespace velvasto
