#pragma once
// Compares the messages two loaded songs send: per lane (each channel of each port, and the
// System Exclusive and system messages of each port) the same messages in the same order, each
// at a time within a tolerance. Tempo records, markers and the end record are not messages.

#include <cstdint>
#include <string>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto::test {

struct CompareOptions {
  // A note-off (8n k v) and a note-on of velocity 0 (9n k 00) count as the same message.
  bool noteOffFormsAlike = false;
};

// The differences, one line each ("A ch1 #3: time 1000 against 2500"); empty when the songs
// send the same. Stops after the first 20 differences.
std::vector<std::string> MessageDifferences(const CMIDIStream& expected, const CMIDIStream& actual,
                                            std::uint64_t toleranceUs, CompareOptions options = {});

}  // namespace velvasto::test
