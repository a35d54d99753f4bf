#include "song/channel_converter.h"

#include "song/midi_stream.h"

namespace velvasto {

namespace {

constexpr std::uint8_t kBankSelectMsb = 0x00;
constexpr std::uint8_t kDataEntryMsb = 0x06;
constexpr std::uint8_t kBankSelectLsb = 0x20;
constexpr std::uint8_t kNrpnLsb = 0x62;
constexpr std::uint8_t kNrpnMsb = 0x63;

// Under the variation fallback, data entry for NRPN 01 20 (TVF cutoff) is held at 64 at most.
constexpr std::uint8_t kCutoffNrpnMsb = 0x01;
constexpr std::uint8_t kCutoffNrpnLsb = 0x20;
constexpr std::uint8_t kCutoffLimit = 64;
// NRPN 18 rr: pitch of drum instrument rr, which the SC-8850 mishandles.
constexpr std::uint8_t kDrumPitchNrpnMsb = 0x18;

bool IsCapitalOrDrumBank(std::uint8_t bank) { return bank == 0 || bank == 126 || bank == 127; }

}  // namespace

std::uint8_t FitBankToVariationClass(std::uint8_t bank, std::uint32_t variationClass) {
  switch (variationClass) {
    case 1:
      return IsCapitalOrDrumBank(bank) ? bank : 0;
    case 2:
      if (bank >= 9 && bank <= 15) return 8;
      return IsCapitalOrDrumBank(bank) || bank == 8 ? bank : 0;
    case 3:
      if (bank >= 9 && bank <= 15) return 8;
      if (bank >= 17 && bank <= 23) return 16;
      return IsCapitalOrDrumBank(bank) || bank == 8 || bank == 16 ? bank : 0;
    default:
      return bank;
  }
}

std::optional<std::uint8_t> DrumPitchMapByte(std::uint32_t rhythmPart) {
  switch (rhythmPart) {
    case 1:
      return std::uint8_t{0x01};
    case 2:
      return std::uint8_t{0x11};
    default:
      return std::nullopt;
  }
}

ChannelConverter::ChannelConverter(std::uint8_t mapLsb, bool adjust55, bool fix8850)
    : mapLsb_(mapLsb), adjust55_(adjust55), fix8850_(fix8850) {
  Reset();
}

void ChannelConverter::Reset() {
  for (auto& port : state_) port.fill(ChannelState{false, 0, 127, 127});
}

void ChannelConverter::InsertMapLsb(PortId port, std::uint8_t channel, bool withProgramZero,
                                    ChannelMessageSink& sink) {
  const auto control = static_cast<std::uint8_t>(0xB0 | (channel & 0x0F));
  sink.Short(control, kBankSelectLsb, mapLsb_);
  if (withProgramZero) sink.Short(static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), 0, 0);
  State(port, channel).lsbSent = true;
}

void ChannelConverter::ControlChange(PortId port, std::uint8_t channel, std::uint8_t controller,
                                     std::uint8_t value, std::optional<std::uint8_t> drumMap,
                                     ChannelMessageSink& sink) {
  const auto status = static_cast<std::uint8_t>(0xB0 | (channel & 0x0F));
  ChannelState& state = State(port, channel);

  if (controller == kBankSelectLsb && mapLsb_ != 0) {
    // A song that names no map, or a newer one than the module plays, gets the map in force.
    if (value == 0 || value > mapLsb_) value = mapLsb_;
    state.lsbSent = true;
    sink.Short(status, controller, value);
    return;
  }

  if ((controller == kNrpnMsb || controller == kNrpnLsb) && (adjust55_ || fix8850_)) {
    (controller == kNrpnMsb ? state.nrpnMsb : state.nrpnLsb) = value;
  }
  if (adjust55_) {
    if (controller == kDataEntryMsb && state.nrpnMsb == kCutoffNrpnMsb && state.nrpnLsb == kCutoffNrpnLsb &&
        value > kCutoffLimit) {
      value = kCutoffLimit;
    }
    if (controller == kBankSelectMsb) state.bankMsb = value;
  }
  if (fix8850_ && controller == kDataEntryMsb && state.nrpnMsb == kDrumPitchNrpnMsb && drumMap) {
    const std::uint8_t note = state.nrpnLsb;
    const std::uint8_t pitch = value >= 4 ? static_cast<std::uint8_t>(value - 4) : 0;
    const auto checksum = static_cast<std::uint8_t>((0u - (0x41u + *drumMap + note + pitch)) & 0x7F);
    const std::uint8_t message[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x41, *drumMap, note, pitch, checksum, 0xF7};
    sink.SysEx(message);
  }
  sink.Short(status, controller, value);
}

void ChannelConverter::ProgramChange(PortId port, std::uint8_t channel, std::uint8_t program,
                                     ChannelMessageSink& sink) {
  if (mapLsb_ != 0 && !State(port, channel).lsbSent) InsertMapLsb(port, channel, false, sink);
  if (adjust55_) {
    ChannelState& state = State(port, channel);
    const std::uint8_t fitted =
        FitBankToVariationClass(state.bankMsb, CMIDIStream::ProgramMapTable()[program & 0x7F]);
    if (fitted != state.bankMsb) {
      state.bankMsb = fitted;
      sink.Short(static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)), kBankSelectMsb, fitted);
    }
  }
  sink.Short(static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), program, 0);
}

void ChannelConverter::BankAndProgram(PortId port, std::uint8_t channel, std::uint8_t bankMsb,
                                      std::uint8_t program, ChannelMessageSink& sink) {
  if (mapLsb_ != 0 && !State(port, channel).lsbSent) InsertMapLsb(port, channel, false, sink);
  ChannelState& state = State(port, channel);
  const std::uint8_t bank =
      adjust55_ ? FitBankToVariationClass(bankMsb, CMIDIStream::ProgramMapTable()[program & 0x7F]) : bankMsb;
  state.bankMsb = bank;
  sink.Short(static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)), kBankSelectMsb, bank);
  sink.Short(static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), program, 0);
}

}  // namespace velvasto
