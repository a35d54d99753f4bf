#include "midiout/rhythm_part_tracker.h"

#include <algorithm>
#include <array>

namespace velvasto {

void TrackRhythmPart(CMIDIStream& song, PortId port, std::span<const std::uint8_t> message) {
  static constexpr std::array<std::uint8_t, 6> kGsPartHead = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40};
  static constexpr std::uint8_t kUseForRhythmPart = 0x15;
  if (!song.Settings().fix8850 || port == PortId::None || message.size() < 11) return;
  if (!std::equal(kGsPartHead.begin(), kGsPartHead.end(), message.begin())) return;
  if ((message[6] & 0xF0) != 0x10 || message[7] != kUseForRhythmPart) return;
  const std::uint8_t value = message[8];
  if (value > 2) return;
  song.SetRhythmPart(port, message[6] & 0x0F, value);
}

}  // namespace velvasto
