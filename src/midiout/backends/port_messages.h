#pragma once
// The bytes the backends of external MIDI ports (RtMidi, JACK) put on the wire.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "midiout/event_line.h"

namespace velvasto {

// A short message (status | data1 << 8 | data2 << 16) as the bytes its status calls for.
class ShortMessageBytes {
 public:
  explicit ShortMessageBytes(std::uint32_t message)
      : bytes_{static_cast<std::uint8_t>(message), static_cast<std::uint8_t>(message >> 8),
               static_cast<std::uint8_t>(message >> 16)} {}

  std::span<const std::uint8_t> Bytes() const { return std::span(bytes_).first(ShortMessageLength(bytes_[0])); }

 private:
  std::array<std::uint8_t, 3> bytes_;
};

// Calls `send` with the bytes of each of `controllers`, value 0, on channel 1, then on channel 2,
// and so on to channel 16.
template <typename Send>
void ForEveryChannel(std::initializer_list<std::uint8_t> controllers, Send&& send) {
  for (std::uint8_t channel = 0; channel < 16; ++channel) {
    for (const std::uint8_t controller : controllers) {
      const std::uint8_t message[3] = {static_cast<std::uint8_t>(0xB0 | channel), controller, 0};
      send(std::span<const std::uint8_t>(message));
    }
  }
}

}  // namespace velvasto
