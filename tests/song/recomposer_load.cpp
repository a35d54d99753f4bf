#include "recomposer_load.h"

#include <cstdio>

#include "support/temp_dir.h"

namespace velvasto::test {

namespace {

template <typename Reader>
std::unique_ptr<Reader> LoadWith(const Bytes& bytes, SongSettings settings, const std::string& name) {
  TempDir dir;
  auto reader = std::make_unique<Reader>(std::move(settings));
  if (!reader->Load(dir.Write(name, bytes))) return nullptr;
  return reader;
}

std::string Hex(std::uint8_t byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

std::string PortName(PortId port) { return port == PortId::A ? "A" : port == PortId::B ? "B" : "-"; }

std::string Line(const CMIDIStream& stream, const StreamEvent& event) {
  std::string line = std::to_string(event.time);
  switch (event.status) {
    case kStatusTempo:
      return line + " tempo " + std::to_string(event.message);
    case kStatusEnd:
      return line + " end";
    case kStatusMarker:
      return line + " marker " + std::to_string(event.message) + " " + PortName(event.port);
    case kStatusSysEx:
      for (const std::uint8_t byte : stream.SysExData(event)) line += " " + Hex(byte);
      break;
    default: {
      const auto status = static_cast<std::uint8_t>(event.message);
      line += " " + Hex(status) + " " + Hex(static_cast<std::uint8_t>(event.message >> 8));
      if ((status & 0xE0) != 0xC0) line += " " + Hex(static_cast<std::uint8_t>(event.message >> 16));
      break;
    }
  }
  return line + " " + PortName(event.port);
}

}  // namespace

std::unique_ptr<CRCPFile> LoadRcp(const Bytes& bytes, SongSettings settings, const std::string& name) {
  return LoadWith<CRCPFile>(bytes, std::move(settings), name);
}

std::unique_ptr<CG36File> LoadG36(const Bytes& bytes, SongSettings settings, const std::string& name) {
  return LoadWith<CG36File>(bytes, std::move(settings), name);
}

std::vector<std::string> Dump(const CMIDIStream& stream) {
  std::vector<std::string> lines;
  for (const StreamEvent& event : stream.Events()) lines.push_back(Line(stream, event));
  return lines;
}

std::vector<std::string> DumpMessages(const CMIDIStream& stream) {
  std::vector<std::string> lines;
  for (const StreamEvent& event : stream.Events()) {
    if (event.status != kStatusTempo && event.status != kStatusEnd) lines.push_back(Line(stream, event));
  }
  return lines;
}

}  // namespace velvasto::test
