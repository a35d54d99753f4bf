#include "midiout/backends/synth_sysex.h"

#include <numeric>

namespace velvasto {
namespace {

constexpr std::uint8_t kRoland = 0x41;
constexpr std::uint8_t kGsModel = 0x42;
constexpr std::uint8_t kDataSet = 0x12;
constexpr std::uint8_t kYamaha = 0x43;
constexpr std::uint8_t kXgModel = 0x4C;
constexpr std::uint8_t kUniversalNonRealTime = 0x7E;
constexpr std::uint8_t kGeneralMidi = 0x09;

SynthSysEx Reset() { return {SynthSysEx::Kind::ResetInput, 0, false}; }

SynthSysEx InterpretGeneralMidi(std::span<const std::uint8_t> m) {
  // F0 7E dev 09 sub F7: System On 1 (GM1) and 3 (GM2) reset; 2 (System Off) changes nothing.
  if (m.size() != 6 || m[3] != kGeneralMidi) return {};
  return m[4] == 0x01 || m[4] == 0x03 ? Reset() : SynthSysEx{};
}

SynthSysEx InterpretXg(std::span<const std::uint8_t> m) {
  // F0 43 1n 4C 00 00 7E|7F 00 F7: XG System On, XG all-parameter reset.
  if (m.size() != 9 || (m[2] & 0xF0) != 0x10 || m[3] != kXgModel) return {};
  if (m[4] == 0x00 && m[5] == 0x00 && (m[6] == 0x7E || m[6] == 0x7F) && m[7] == 0x00) return Reset();
  return {};
}

SynthSysEx InterpretGs(std::span<const std::uint8_t> m, int firstChannel) {
  // F0 41 dev 42 12 a1 a2 a3 data.. sum F7, the address, data and checksum summing to 0 mod 128.
  if (m.size() < 11 || m[3] != kGsModel || m[4] != kDataSet) return {};
  const std::span<const std::uint8_t> checked = m.subspan(5, m.size() - 6);
  if ((std::accumulate(checked.begin(), checked.end(), 0u) & 0x7F) != 0) return {};
  if (m.size() != 11) return {};
  const std::uint8_t a1 = m[5], a2 = m[6], a3 = m[7], value = m[8];
  if (a1 == 0x40 && a2 == 0x00 && a3 == 0x7F && (value == 0x00 || value == 0x7F)) return Reset();
  if ((a1 == 0x40 || a1 == 0x50) && (a2 & 0xF0) == 0x10 && a3 == 0x15 && value <= 2) {
    const int group = a1 == 0x50 ? 16 : firstChannel;
    return {SynthSysEx::Kind::RhythmPart, group + GsPartChannel(a2 & 0x0F), value != 0};
  }
  return {};
}

}  // namespace

int GsPartChannel(int block) { return block == 0 ? 9 : block <= 9 ? block - 1 : block; }

SynthSysEx InterpretSynthSysEx(std::span<const std::uint8_t> message, int firstChannel) {
  if (message.size() < 4 || message.front() != 0xF0 || message.back() != 0xF7) return {};
  switch (message[1]) {
    case kUniversalNonRealTime:
      return InterpretGeneralMidi(message);
    case kYamaha:
      return InterpretXg(message);
    case kRoland:
      return InterpretGs(message, firstChannel);
    default:
      return {};
  }
}

}  // namespace velvasto
