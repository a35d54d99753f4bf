#pragma once
// Where the random play order draws its numbers from. The program draws from a generator seeded
// with the millisecond clock; tests hand the list a scripted sequence instead.

#include <cstdint>
#include <random>

namespace velvasto {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Starts a new sequence; the list calls it whenever it empties its random history.
  virtual void Reseed() = 0;
  // The next number of the sequence (any non-negative value; the list takes it modulo its count).
  virtual std::uint32_t Draw() = 0;
};

// A linear congruential generator seeded with the steady clock's milliseconds on each Reseed,
// as the list's history rule expects of the C library's srand(time)/rand().
class ClockSeededRandom final : public RandomSource {
 public:
  ClockSeededRandom() { Reseed(); }
  void Reseed() override;
  std::uint32_t Draw() override { return static_cast<std::uint32_t>(generator_()); }

 private:
  std::minstd_rand generator_;
};

}  // namespace velvasto
