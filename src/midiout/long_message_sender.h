#pragma once
// Sends one System Exclusive message and waits for the device to finish with it. Used outside
// the timer callback: the reset messages before a song, the chase after a seek, control files.

#include <chrono>
#include <cstdint>
#include <span>

#include "midiout/midi_out_device.h"
#include "song/midi_stream.h"

namespace velvasto {

inline constexpr std::chrono::milliseconds kLongMessageTimeLimit{5000};

// Lets the rhythm-part tracker see the message (when `song` is given), sends a copy of `bytes`
// to `device` stamped `timeUs`, and polls for completion without sleeping for at most `limit`
// on the steady clock. When the limit passes first, the device is reset and
// CMMSystemErrMessage(1008) is thrown. Errors of the device (1008 on refusal, 1013 from the
// reset) pass through; CErrMessage(1) when the copy cannot be made.
void SendLongMessageSync(MidiOutDevice& device, PortId port, std::span<const std::uint8_t> bytes,
                         std::uint64_t timeUs, CMIDIStream* song,
                         std::chrono::steady_clock::duration limit = kLongMessageTimeLimit);

}  // namespace velvasto
