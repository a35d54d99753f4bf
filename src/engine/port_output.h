#pragma once
// Sending helpers of the transport: each maps a device failure to the program's error code for
// the operation, as the transport reports it.

#include <cstdint>

#include "midiout/midi_out_device.h"

namespace velvasto {

// A channel volume scaled by the master volume: value × master ÷ 127, truncating.
constexpr std::uint32_t ScaleVolume(std::uint32_t value, std::uint32_t master) { return value * master / 127; }

// Controller 7 with `value` on `channel` (0..15).
constexpr std::uint32_t VolumeMessage(std::uint32_t channel, std::uint32_t value) {
  return 0xB0u | channel | 7u << 8 | value << 16;
}

// Throws CMMSystemErrMessage 1007 when the device fails.
void SendShortOrThrow(MidiOutDevice& device, std::uint32_t message, std::uint64_t timeUs);
// The device's reset (every note ended, sustain released). Throws CMMSystemErrMessage 1013 when
// the device fails.
void ResetOrThrow(MidiOutDevice& device);
// Every controller of the device's channels to its default. Throws CMMSystemErrMessage 1013.
void ResetControllersOrThrow(MidiOutDevice& device);
// Every channel, in order: sustain 0, soft pedal 0, all notes off, all sound off.
// Throws CMMSystemErrMessage 1007.
void SendSoundOff(MidiOutDevice& device, std::uint64_t timeUs);

}  // namespace velvasto
