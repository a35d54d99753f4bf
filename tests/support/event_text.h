#pragma once
// The records of a song's event table in the one-line form of `dump` (src/midiout/event_line.h),
// so that a test states the table it expects line by line.

#include <string>
#include <vector>

#include "midiout/event_line.h"
#include "song/midi_stream.h"

namespace velvasto::test {

inline std::vector<std::string> EventLines(const CMIDIStream& stream) {
  std::vector<std::string> lines;
  for (const StreamEvent& event : stream.Events()) lines.push_back(FormatEventLine(event, stream));
  return lines;
}

}  // namespace velvasto::test
