#pragma once
// The bank and drum-pitch handling every reader applies to the channel messages of a song:
// map correction (bank select LSB 0x20 with the map LSB in force), the SC-55 variation
// fallback ("55 Adjust") and the SC-8850 drum-pitch conversion ("8850 Fix").
//
// The converter holds the state of each port and channel and writes what it produces, in the
// order it is to be sent, to a sink the reader provides. A reader's counting pass gives it a
// sink that counts and its filling pass one that stores, so both passes take the same
// decisions; call Reset() at the start of each pass.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "song/stream_event.h"

namespace velvasto {

class ChannelMessageSink {
 public:
  // A channel message: status (channel included) and its data bytes; data2 is 0 for
  // program changes.
  virtual void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
  // A complete System Exclusive message (F0 .. F7). The converter produces only the drum-pitch
  // exclusive message of the 8850 conversion.
  virtual void SysEx(std::span<const std::uint8_t> bytes) = 0;

 protected:
  ~ChannelMessageSink() = default;
};

class ChannelConverter {
 public:
  // mapLsb: the map LSB in force (1 SC-55, 2 SC-88, 3 SC-88Pro), 0 for none.
  ChannelConverter(std::uint8_t mapLsb, bool adjust55, bool fix8850);

  // Every port and channel back to its initial state: no LSB sent yet, remembered bank MSB 0,
  // NRPN MSB and LSB 127.
  void Reset();

  // A control change on `channel` (0..15) of `port`. `drumMap` is the address byte m1 of the
  // drum-pitch exclusive message F0 41 10 42 12 41 m1 n d c F7 for this channel (0x01 for drum
  // map 1, 0x11 for drum map 2), or nothing when the channel plays no drum map.
  void ControlChange(PortId port, std::uint8_t channel, std::uint8_t controller, std::uint8_t value,
                     std::optional<std::uint8_t> drumMap, ChannelMessageSink& sink);
  // A program change, its bank being the last bank select MSB the channel received.
  void ProgramChange(PortId port, std::uint8_t channel, std::uint8_t program, ChannelMessageSink& sink);
  // A bank select MSB and a program change given together (the RCP bank-and-program command).
  void BankAndProgram(PortId port, std::uint8_t channel, std::uint8_t bankMsb, std::uint8_t program,
                      ChannelMessageSink& sink);
  // Before a sounding note-on: a channel that has had no bank select LSB while a map LSB is in
  // force gets the map LSB and program change 0, so that the map applies to its first note.
  void BeforeNote(PortId port, std::uint8_t channel, ChannelMessageSink& sink) {
    if (mapLsb_ != 0 && !State(port, channel).lsbSent) InsertMapLsb(port, channel, true, sink);
  }

  std::uint8_t MapLsb() const { return mapLsb_; }

 private:
  struct ChannelState {
    bool lsbSent;
    std::uint8_t bankMsb;
    std::uint8_t nrpnMsb;
    std::uint8_t nrpnLsb;
  };

  ChannelState& State(PortId port, std::uint8_t channel) {
    return state_[port == PortId::B ? 1 : 0][channel & 0x0F];
  }
  void InsertMapLsb(PortId port, std::uint8_t channel, bool withProgramZero, ChannelMessageSink& sink);

  std::uint8_t mapLsb_;
  bool adjust55_;
  bool fix8850_;
  std::array<std::array<ChannelState, 16>, 2> state_{};
};

// The bank select MSB that the first GS module has for a program of variation class
// `variationClass` (the program map table), when `bank` is asked for.
std::uint8_t FitBankToVariationClass(std::uint8_t bank, std::uint32_t variationClass);

// The address byte m1 of the drum-pitch exclusive message for a part's rhythm-part value:
// 0x01 for drum map 1, 0x11 for drum map 2, nothing for a part that is not a rhythm part.
std::optional<std::uint8_t> DrumPitchMapByte(std::uint32_t rhythmPart);

// GS part block of a MIDI channel (0..15): channel 10 is block 0, channels 1..9 blocks 1..9,
// channels 11..16 blocks 0xA..0xF.
constexpr unsigned GsPartBlockOfChannel(std::uint8_t channel) {
  return channel == 9 ? 0u : channel < 9 ? channel + 1u : channel;
}

}  // namespace velvasto
