#include "playlist/random_source.h"

#include <chrono>

namespace velvasto {

void ClockSeededRandom::Reseed() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  generator_.seed(static_cast<std::minstd_rand::result_type>(milliseconds));
}

}  // namespace velvasto
