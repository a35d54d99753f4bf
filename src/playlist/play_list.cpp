#include "playlist/play_list.h"

#include <iterator>
#include <utility>

namespace velvasto {

CPlayList::CPlayList(std::unique_ptr<RandomSource> random)
    : random_(random ? std::move(random) : std::make_unique<ClockSeededRandom>()) {
  entries_.reserve(kMaxEntries);
  history_.fill(kEmptyHistorySlot);
}

void CPlayList::Clear() {
  entries_.clear();
  modified_ = false;
  currentIndex_ = -1;
  EmptyHistory();
}

void CPlayList::CopyFrom(const CPlayList& source) {
  if (&source == this) return;
  fileName_ = source.fileName_;
  entries_ = source.entries_;
  modified_ = source.modified_;
  currentIndex_ = source.currentIndex_;
  EmptyHistory();
}

bool CPlayList::Append(ListEntry entry) {
  if (Full()) return false;
  entries_.push_back(std::move(entry));
  modified_ = true;
  return true;
}

bool CPlayList::Insert(int index, ListEntry entry) {
  if (Full() || index < 0 || index >= Count()) return false;
  entries_.insert(std::next(entries_.begin(), index), std::move(entry));
  modified_ = true;
  return true;
}

bool CPlayList::Delete(int index) {
  if (index < 0 || index >= Count()) return false;
  entries_.erase(std::next(entries_.begin(), index));
  modified_ = true;
  return true;
}

void CPlayList::EmptyHistory() {
  history_.fill(kEmptyHistorySlot);
  random_->Reseed();
}

}  // namespace velvasto
