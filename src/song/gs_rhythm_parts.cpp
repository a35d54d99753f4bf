#include "song/gs_rhythm_parts.h"

#include "song/channel_converter.h"
#include "song/midi_stream.h"

namespace velvasto {

namespace {

int PortIndex(PortId port) { return port == PortId::B ? 1 : 0; }

// An 11-byte GS data set F0 41 xx 42 12 a1 a2 a3 d sum F7 with a correct checksum.
bool IsGsDataSet(std::span<const std::uint8_t> m) {
  if (m.size() != 11 || m[0] != 0xF0 || m[1] != 0x41 || m[3] != 0x42 || m[4] != 0x12 || m[10] != 0xF7) return false;
  return ((m[5] + m[6] + m[7] + m[8] + m[9]) & 0x7F) == 0;
}

}  // namespace

void GsRhythmParts::Reset(const CMIDIStream& stream) {
  for (int port = 0; port < 2; ++port) {
    for (unsigned block = 0; block < 16; ++block) {
      values_[port][block] = static_cast<std::uint8_t>(stream.RhythmPart(port == 0 ? PortId::A : PortId::B, block));
    }
  }
}

void GsRhythmParts::Observe(PortId port, std::span<const std::uint8_t> m) {
  if (port == PortId::None || !IsGsDataSet(m)) return;
  auto& values = values_[PortIndex(port)];
  if (m[5] == 0x40 && m[6] == 0x00 && m[7] == 0x7F && m[8] == 0x00) {
    values.fill(0);
    values[0] = 1;
  } else if (m[5] == 0x40 && (m[6] & 0xF0) == 0x10 && m[7] == 0x15 && m[8] <= 2) {
    values[m[6] & 0x0F] = m[8];
  }
}

std::uint32_t GsRhythmParts::OfChannel(PortId port, std::uint8_t channel) const {
  return values_[PortIndex(port)][GsPartBlockOfChannel(channel & 0x0F)];
}

}  // namespace velvasto
