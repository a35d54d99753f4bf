#pragma once
// The records of a song's event table in the one-line form of `dump` (src/midiout/event_line.h),
// so that a test states the table it expects line by line.

#include <string>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto::test {

std::vector<std::string> EventLines(const CMIDIStream& stream);

}  // namespace velvasto::test
