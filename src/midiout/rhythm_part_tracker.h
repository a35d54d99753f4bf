#pragma once
// Keeps a song's rhythm-part values in step with the GS "use for rhythm part" messages sent to
// its ports, so that drum settings converted later address the right drum map.

#include <cstdint>
#include <span>

#include "song/midi_stream.h"

namespace velvasto {

// Looks at a System Exclusive message about to go to `port`. When the song converts drum-pitch
// settings ("8850 Fix") and the message is F0 41 10 42 12 40 1p 15 vv .., the rhythm-part value
// of part block p of that port becomes vv (0 normal, 1 or 2 drum map).
void TrackRhythmPart(CMIDIStream& song, PortId port, std::span<const std::uint8_t> message);

}  // namespace velvasto
