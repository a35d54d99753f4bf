#include "song/note_table.h"

namespace velvasto {

void NoteTable::Clear() {
  inUse_.fill(0);
  soundingKeys_.fill(0);
  nextRelease_ = UINT64_MAX;
}

NoteTable::Strike NoteTable::Start(const Note& note) {
  const std::size_t key = KeyOf(note);
  for (std::size_t word = 0; soundingKeys_[key] != 0 && word < kWords; ++word) {
    for (std::uint64_t bits = inUse_[word]; bits != 0; bits &= bits - 1) {
      Note& sounding = slots_[word * 64 + static_cast<std::size_t>(std::countr_zero(bits))];
      if (sounding.note == note.note && sounding.channel == note.channel && sounding.port == note.port &&
          sounding.track == note.track) {
        sounding.endTick = note.endTick;
        if (note.endTick < nextRelease_) nextRelease_ = note.endTick;
        return Strike::Lengthened;
      }
    }
  }
  for (std::size_t word = 0; word < kWords; ++word) {
    if (inUse_[word] == ~std::uint64_t{0}) continue;
    const std::size_t bit = static_cast<std::size_t>(std::countr_one(inUse_[word]));
    slots_[word * 64 + bit] = note;
    inUse_[word] |= std::uint64_t{1} << bit;
    ++soundingKeys_[key];
    if (note.endTick < nextRelease_) nextRelease_ = note.endTick;
    return Strike::Started;
  }
  return Strike::Full;
}

}  // namespace velvasto
