#pragma once
// Builds the bytes of Standard MIDI Files in code, so that a test shows exactly what it feeds
// to the reader. Deltas are in ticks; events are written as given (running status is the
// caller's choice: pass the data bytes without a status byte to use it).

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace velvasto::test {

using Bytes = std::vector<std::uint8_t>;

// Appends `value` as a variable-length quantity.
void AppendVarLen(Bytes& out, std::uint32_t value);
void AppendBE16(Bytes& out, std::uint16_t value);
void AppendBE32(Bytes& out, std::uint32_t value);

class SmfTrack {
 public:
  using List = std::initializer_list<std::uint8_t>;

  // Any event bytes after a delta: a channel message, running-status data bytes, F0/F7 forms.
  SmfTrack& Raw(std::uint32_t delta, std::span<const std::uint8_t> bytes);
  SmfTrack& Raw(std::uint32_t delta, List bytes) { return Raw(delta, {bytes.begin(), bytes.size()}); }
  SmfTrack& NoteOn(std::uint32_t delta, std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
    return Raw(delta, {static_cast<std::uint8_t>(0x90 | channel), note, velocity});
  }
  SmfTrack& NoteOff(std::uint32_t delta, std::uint8_t channel, std::uint8_t note) {
    return Raw(delta, {static_cast<std::uint8_t>(0x80 | channel), note, 0x40});
  }
  SmfTrack& Control(std::uint32_t delta, std::uint8_t channel, std::uint8_t controller, std::uint8_t value) {
    return Raw(delta, {static_cast<std::uint8_t>(0xB0 | channel), controller, value});
  }
  SmfTrack& Program(std::uint32_t delta, std::uint8_t channel, std::uint8_t program) {
    return Raw(delta, {static_cast<std::uint8_t>(0xC0 | channel), program});
  }
  // F0, its length, then `body` (everything after F0, normally ending in F7).
  SmfTrack& SysEx(std::uint32_t delta, std::span<const std::uint8_t> body) { return Event(delta, {0xF0}, body); }
  SmfTrack& SysEx(std::uint32_t delta, List body) { return SysEx(delta, {body.begin(), body.size()}); }
  // F7, its length, then `body` sent as it stands.
  SmfTrack& Escape(std::uint32_t delta, List body) { return Event(delta, {0xF7}, {body.begin(), body.size()}); }
  SmfTrack& Meta(std::uint32_t delta, std::uint8_t type, std::span<const std::uint8_t> data) {
    return Event(delta, {0xFF, type}, data);
  }
  SmfTrack& Text(std::uint32_t delta, std::uint8_t type, std::string_view text) {
    return Meta(delta, type, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  }
  SmfTrack& Tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
    const auto q = microsecondsPerQuarter;
    return Meta(delta, 0x51, Bytes{static_cast<std::uint8_t>(q >> 16), static_cast<std::uint8_t>(q >> 8), static_cast<std::uint8_t>(q)});
  }
  SmfTrack& TimeSignature(std::uint32_t delta, std::uint8_t numerator, std::uint8_t denominatorPower) {
    return Meta(delta, 0x58, Bytes{numerator, denominatorPower, 24, 8});
  }
  SmfTrack& Port(std::uint32_t delta, std::uint8_t port) { return Meta(delta, 0x21, Bytes{port}); }
  SmfTrack& EndOfTrack(std::uint32_t delta = 0) { return Meta(delta, 0x2F, {}); }

  const Bytes& Data() const { return data_; }

 private:
  // `head` (F0, F7 or FF and the type), the length of `body` as a variable-length quantity, `body`.
  SmfTrack& Event(std::uint32_t delta, List head, std::span<const std::uint8_t> body);

  Bytes data_;
};

class SmfBuilder {
 public:
  SmfBuilder(std::uint16_t format, std::uint16_t division) : format_(format), division_(division) {}

  // Adds a track; the reference stays valid until the next AddTrack.
  SmfTrack& AddTrack() { return tracks_.emplace_back(); }
  // "MThd" chunk and one "MTrk" chunk per track.
  Bytes Build() const;

 private:
  std::uint16_t format_;
  std::uint16_t division_;
  std::vector<SmfTrack> tracks_;
};

// A RIFF MIDI file ("RIFF", size, "RMID", "data", size, then the SMF at byte 20).
Bytes WrapRiff(std::span<const std::uint8_t> smf);
// A MacBinary file: a 128-byte header, then the SMF.
Bytes WrapMacBinary(std::span<const std::uint8_t> smf);

}  // namespace velvasto::test
