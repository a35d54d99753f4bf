#pragma once
// Writes a loaded song, whatever file it came from, as a format 1 Standard MIDI File that
// sequencers open with the song's own bars and tempo:
// - the song's time base, its tempo changes as tempo events and its meters as time signatures
//   in the first track, which also names the song (its title in CP932);
// - the System Exclusive messages of each port in a track of their own (the control blocks of
//   RCP/G36 songs among them, at the start), then one track for each channel of each port;
//   the tracks of PORT B begin with a port meta event (FF 21 01 01);
// - every message at a tick whose time, as a reader converts it back, lies within a
//   millisecond of the message's time in the table.
//
// Ticks come from the tempo map the reader recorded. Where a tempo has no whole number of
// microseconds a quarter note, the written tempo alternates between the two nearest whole
// values, so that the written times never drift more than a fifth of a millisecond from the
// table's. A quarter note longer than a tempo event can hold (16.7 s) is written as 2, 3 ..
// shorter quarter notes; a time base above 32767 ticks is lowered to 32767. A song without a
// tempo map is written at 500 ticks a quarter note and 120 beats a minute, a tick a millisecond.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto {

std::vector<std::uint8_t> BuildStandardMidiFile(const CMIDIStream& song);

// Writes the file to `path`, replacing an old file only when the new one is complete, and
// returns what it wrote. Throws CSystemErrMessage when the file cannot be written.
std::vector<std::uint8_t> WriteStandardMidiFile(const CMIDIStream& song, const std::filesystem::path& path);

}  // namespace velvasto
