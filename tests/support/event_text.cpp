#include "support/event_text.h"

#include "midiout/event_line.h"

namespace velvasto::test {

std::vector<std::string> EventLines(const CMIDIStream& stream) {
  std::vector<std::string> lines;
  for (const StreamEvent& event : stream.Events()) lines.push_back(FormatEventLine(event, stream));
  return lines;
}

}  // namespace velvasto::test
