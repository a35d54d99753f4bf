#include "midiout/event_line.h"

#include "song/midi_stream.h"

namespace velvasto {
namespace {

void AppendHexByte(std::string& out, std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

std::string LineHead(std::uint64_t timeUs, PortId port, const char* kind) {
  std::string line = std::to_string(timeUs);
  line.push_back(' ');
  line.push_back(PortLetter(port));
  line.push_back(' ');
  line.append(kind);
  return line;
}

}  // namespace

std::size_t ShortMessageLength(std::uint8_t status) {
  if (status < 0xF0) return (status & 0xE0) == 0xC0 ? 2 : 3;
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 2;
    case 0xF2:
      return 3;
    default:
      return 1;
  }
}

char PortLetter(PortId port) {
  switch (port) {
    case PortId::A:
      return 'A';
    case PortId::B:
      return 'B';
    default:
      return '-';
  }
}

std::string FormatShortLine(std::uint64_t timeUs, PortId port, std::uint32_t message) {
  std::string line = LineHead(timeUs, port, "MSG");
  const std::size_t length = ShortMessageLength(static_cast<std::uint8_t>(message));
  for (std::size_t i = 0; i < length; ++i) {
    line.push_back(' ');
    AppendHexByte(line, static_cast<std::uint8_t>(message >> (8 * i)));
  }
  return line;
}

std::string FormatSysExLine(std::uint64_t timeUs, PortId port, std::span<const std::uint8_t> bytes) {
  std::string line = LineHead(timeUs, port, "SYX");
  line.reserve(line.size() + 3 * bytes.size());
  for (std::uint8_t byte : bytes) {
    line.push_back(' ');
    AppendHexByte(line, byte);
  }
  return line;
}

std::string FormatEventLine(const StreamEvent& event, const CMIDIStream& stream) {
  switch (event.status) {
    case kStatusSysEx:
      return FormatSysExLine(event.time, event.port, stream.SysExData(event));
    case kStatusTempo:
      return LineHead(event.time, event.port, "TEMPO ") + std::to_string(event.message);
    case kStatusMarker:
      return LineHead(event.time, event.port, "MARK ") + std::to_string(event.message);
    case kStatusEnd:
      return LineHead(event.time, event.port, "END");
    default:
      return FormatShortLine(event.time, event.port, event.message);
  }
}

}  // namespace velvasto
