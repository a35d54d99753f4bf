#pragma once
// The notes a Recomposer conversion has struck and not yet released: 256 slots, each holding
// the port, channel, note and track of a sounding note and the tick at which it ends.
// Sounding slots are kept in a bit set, so that a tick with no note ending costs nothing.

#include <array>
#include <bit>
#include <cstdint>

namespace velvasto {

class NoteTable {
 public:
  static constexpr std::size_t kSlots = 256;

  enum class Strike { Started, Lengthened, Full };

  struct Note {
    std::uint64_t endTick;
    std::uint16_t track;
    std::uint8_t port;
    std::uint8_t channel;
    std::uint8_t note;
  };

  // Every slot free.
  void Clear();

  // A note struck at `tick` for `gate` ticks. When the same note of the same track, port and
  // channel still sounds, it is lengthened to end `gate` ticks from now and nothing is to be
  // sent; otherwise the first free slot takes it, or, when all 256 are in use, it is dropped.
  Strike Start(const Note& note);

  // Frees, in slot order, every note that ends at `tick`, calling release(note) for each.
  template <typename Release>
  void ReleaseDue(std::uint64_t tick, Release&& release);

  // The earliest tick at which a sounding note may end (no later than the true one), or
  // UINT64_MAX when no note sounds.
  std::uint64_t NextRelease() const { return nextRelease_; }

 private:
  static constexpr std::size_t kWords = kSlots / 64;

  // Index of a port, channel and note in soundingKeys_.
  static std::size_t KeyOf(const Note& note) {
    return (static_cast<std::size_t>(note.port & 1) * 16 + (note.channel & 0x0F)) * 128 + (note.note & 0x7F);
  }

  std::array<Note, kSlots> slots_{};
  // How many slots sound each port, channel and note, so that a strike looks for a note to
  // lengthen only when one may be there.
  std::array<std::uint16_t, 2 * 16 * 128> soundingKeys_{};
  std::array<std::uint64_t, kWords> inUse_{};
  std::uint64_t nextRelease_ = UINT64_MAX;
};

template <typename Release>
void NoteTable::ReleaseDue(std::uint64_t tick, Release&& release) {
  if (tick < nextRelease_) return;
  nextRelease_ = UINT64_MAX;
  for (std::size_t word = 0; word < kWords; ++word) {
    for (std::uint64_t bits = inUse_[word]; bits != 0; bits &= bits - 1) {
      const std::size_t slot = word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
      const Note& note = slots_[slot];
      if (note.endTick <= tick) {
        inUse_[word] &= ~(std::uint64_t{1} << (slot % 64));
        --soundingKeys_[KeyOf(note)];
        release(note);
      } else if (note.endTick < nextRelease_) {
        nextRelease_ = note.endTick;
      }
    }
  }
}

}  // namespace velvasto
