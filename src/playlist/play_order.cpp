// The play order of CPlayList: list order once, list order endlessly, or random picks that
// never repeat any of the last Count()/2 picks.

#include <algorithm>

#include "playlist/play_list.h"

namespace velvasto {

void CPlayList::ResetOrder(LoopMode mode) {
  if (mode == LoopMode::Random) {
    EmptyHistory();
    currentIndex_ = Empty() ? -1 : RandomPick();
  } else {
    currentIndex_ = 0;
  }
}

std::optional<int> CPlayList::NextEntry(LoopMode mode) {
  if (Empty()) return std::nullopt;
  switch (mode) {
    case LoopMode::NoRepeat:
      // At the end the index stays at Count(), so the next PLAY resets the order.
      if (currentIndex_ < Count()) ++currentIndex_;
      if (currentIndex_ == Count()) return std::nullopt;
      break;
    case LoopMode::Repeat:
      ++currentIndex_;
      if (currentIndex_ >= Count()) currentIndex_ = 0;
      break;
    case LoopMode::Random:
      currentIndex_ = RandomPick();
      break;
  }
  if (!CurrentIndexValid()) return std::nullopt;
  return currentIndex_;
}

int CPlayList::RandomPick() {
  const int count = Count();
  const auto remembered = static_cast<std::size_t>(count / 2);
  const auto recentlyPicked = [&](std::int32_t candidate) {
    for (std::size_t slot = 0; slot < remembered; ++slot) {
      if (history_[slot] == kEmptyHistorySlot) return false;
      if (history_[slot] == candidate) return true;
    }
    return false;
  };
  std::int32_t pick = 0;
  do {
    pick = static_cast<std::int32_t>(random_->Draw() % static_cast<std::uint32_t>(count));
  } while (recentlyPicked(pick));
  // Slots 0..h−2 move up by one; the oldest remembered pick falls out.
  if (remembered > 1) {
    std::copy_backward(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(remembered - 1),
                       history_.begin() + static_cast<std::ptrdiff_t>(remembered));
  }
  history_[0] = pick;
  return pick;
}

}  // namespace velvasto
