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
  // Any event bytes after a delta: a channel message, running-status data bytes, F0/F7 forms.
  SmfTrack& Raw(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes);
  SmfTrack& Raw(std::uint32_t delta, std::span<const std::uint8_t> bytes);
  SmfTrack& NoteOn(std::uint32_t delta, std::uint8_t channel, std::uint8_t note, std::uint8_t velocity);
  SmfTrack& NoteOff(std::uint32_t delta, std::uint8_t channel, std::uint8_t note);
  SmfTrack& Control(std::uint32_t delta, std::uint8_t channel, std::uint8_t controller, std::uint8_t value);
  SmfTrack& Program(std::uint32_t delta, std::uint8_t channel, std::uint8_t program);
  // F0, its length, then `body` (everything after F0, normally ending in F7).
  SmfTrack& SysEx(std::uint32_t delta, std::initializer_list<std::uint8_t> body);
  SmfTrack& SysEx(std::uint32_t delta, std::span<const std::uint8_t> body);
  // F7, its length, then `body` sent as it stands.
  SmfTrack& Escape(std::uint32_t delta, std::initializer_list<std::uint8_t> body);
  SmfTrack& Meta(std::uint32_t delta, std::uint8_t type, std::span<const std::uint8_t> data);
  SmfTrack& Text(std::uint32_t delta, std::uint8_t type, std::string_view text);
  SmfTrack& Tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter);
  SmfTrack& TimeSignature(std::uint32_t delta, std::uint8_t numerator, std::uint8_t denominatorPower);
  SmfTrack& Port(std::uint32_t delta, std::uint8_t port);
  SmfTrack& EndOfTrack(std::uint32_t delta = 0);

  const Bytes& Data() const { return data_; }

 private:
  Bytes data_;
};

class SmfBuilder {
 public:
  SmfBuilder(std::uint16_t format, std::uint16_t division) : format_(format), division_(division) {}

  // Adds a track; the reference stays valid until the next AddTrack.
  SmfTrack& AddTrack();
  // Declares a track count other than the number of tracks added (for damaged headers).
  SmfBuilder& DeclareTracks(std::uint16_t count);

  // "MThd" chunk and one "MTrk" chunk per track.
  Bytes Build() const;

 private:
  std::uint16_t format_;
  std::uint16_t division_;
  int declaredTracks_ = -1;
  std::vector<SmfTrack> tracks_;
};

// A RIFF MIDI file ("RIFF", size, "RMID", "data", size, then the SMF at byte 20).
Bytes WrapRiff(std::span<const std::uint8_t> smf);
// A MacBinary file: a 128-byte header, then the SMF.
Bytes WrapMacBinary(std::span<const std::uint8_t> smf);

}  // namespace velvasto::test
