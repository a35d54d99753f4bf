#pragma once
// Which GS parts play a drum map, followed through the System Exclusive messages of a song as
// a reader meets them, so that drum settings are converted for the map the part plays.
//
// Recognised (any device id xx; the Roland checksum must be right, as the module demands):
// - "use for rhythm part" F0 41 xx 42 12 40 1b 15 vv sum F7: part block b plays drum map vv
//   (0 none, 1 map 1, 2 map 2);
// - GS reset F0 41 xx 42 12 40 00 7F 00 41 F7: every part of that port back to the power-on
//   state, only block 0 (MIDI channel 10) playing drum map 1.

#include <array>
#include <cstdint>
#include <span>

#include "song/stream_event.h"

namespace velvasto {

class CMIDIStream;

class GsRhythmParts {
 public:
  // Starts from the values the song store holds.
  void Reset(const CMIDIStream& stream);
  // Looks at one System Exclusive message sent to `port`.
  void Observe(PortId port, std::span<const std::uint8_t> message);
  // The rhythm-part value of the part on MIDI channel `channel` (0..15) of `port`.
  std::uint32_t OfChannel(PortId port, std::uint8_t channel) const;

 private:
  std::array<std::array<std::uint8_t, 16>, 2> values_{};
};

}  // namespace velvasto
