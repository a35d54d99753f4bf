#pragma once
// The play list: up to 1024 song files, each with its own playback settings, the entry being
// played, and the history that keeps random play from repeating recent picks.
//
// Editing (append, insert, delete) and the play order live here; reading and writing list
// files is in list_file.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "playlist/random_source.h"

namespace velvasto {

struct ListEntry {
  std::filesystem::path path;  // full path of the song file
  std::int32_t volume = 127;   // 0..127, applied when the entry plays
  std::int32_t mapMode = 0;    // per-entry instrument-map handling
  std::int32_t forceMap = 0;   // map used when the map is forced
  std::int32_t adjust55 = 0;   // per-entry SC-55 correction flag
};

// The `Loop Mode` setting. Values outside the three are possible (they come from the settings
// file) and make the next-entry decision leave the current index alone.
enum class LoopMode : std::int32_t { NoRepeat = 0, Repeat = 1, Random = 2 };

class CPlayList {
 public:
  static constexpr int kMaxEntries = 1024;
  static constexpr std::size_t kHistorySlots = 512;
  static constexpr std::int32_t kEmptyHistorySlot = 0xFFFF;

  // An empty list drawing its random picks from `random` (the clock-seeded generator when none
  // is given).
  explicit CPlayList(std::unique_ptr<RandomSource> random = nullptr);
  // A list is copied only on purpose, with CopyFrom, which starts a fresh random history.
  CPlayList(const CPlayList&) = delete;
  CPlayList& operator=(const CPlayList&) = delete;

  // Count 0, not modified, current index −1, random history emptied and the random source
  // reseeded. The file name is kept.
  void Clear();
  // Takes the source's file name, entries, modified flag and current index; empties the random
  // history and reseeds the random source.
  void CopyFrom(const CPlayList& source);

  // Adds `entry` at the end; false when the list is full.
  bool Append(ListEntry entry);
  // Stores `entry` at `index`, moving the entries from there up by one; false unless the list
  // is not full and 0 <= index < Count().
  bool Insert(int index, ListEntry entry);
  // Removes the entry at `index`; false unless 0 <= index < Count().
  bool Delete(int index);

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  bool Full() const { return Count() >= kMaxEntries; }
  const std::vector<ListEntry>& Entries() const { return entries_; }
  const ListEntry& Entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  // For the settings editors and the volume slider; they set the modified flag themselves.
  ListEntry& Entry(int index) { return entries_.at(static_cast<std::size_t>(index)); }

  const std::filesystem::path& FileName() const { return fileName_; }
  void SetFileName(std::filesystem::path fileName) { fileName_ = std::move(fileName); }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // Play order. The current index is the entry being played or to be played.
  int CurrentIndex() const { return currentIndex_; }
  // Jumping to a song sets the index directly and leaves the random history alone.
  void SetCurrentIndex(int index) { currentIndex_ = index; }
  bool CurrentIndexValid() const { return currentIndex_ >= 0 && currentIndex_ < Count(); }
  // Sets the current index to the first entry to play: a fresh random pick in random order
  // (after emptying the history), else 0.
  void ResetOrder(LoopMode mode);
  // Advances the current index by `mode` and returns it, or nothing when the list is empty, a
  // non-repeating list has run out (the index then stays at Count()), or the index is outside
  // the list.
  std::optional<int> NextEntry(LoopMode mode);
  // An index 0..Count()−1 that is none of the last Count()/2 picks; the list must not be empty.
  int RandomPick();
  // All slots empty, random source reseeded. Loading a list file in append mode does this.
  void EmptyHistory();
  // Slot 0 is the latest pick; kEmptyHistorySlot marks an empty slot.
  const std::array<std::int32_t, kHistorySlots>& History() const { return history_; }

 private:
  std::unique_ptr<RandomSource> random_;
  std::array<std::int32_t, kHistorySlots> history_{};
  std::filesystem::path fileName_;
  std::vector<ListEntry> entries_;
  bool modified_ = false;
  int currentIndex_ = -1;
};

}  // namespace velvasto
