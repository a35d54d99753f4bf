#include "support/smf_builder.h"

namespace velvasto::test {

void AppendVarLen(Bytes& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < 5);
  while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

void AppendBE16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void AppendBE32(Bytes& out, std::uint32_t value) {
  AppendBE16(out, static_cast<std::uint16_t>(value >> 16));
  AppendBE16(out, static_cast<std::uint16_t>(value));
}

SmfTrack& SmfTrack::Raw(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
  return Raw(delta, std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

SmfTrack& SmfTrack::Raw(std::uint32_t delta, std::span<const std::uint8_t> bytes) {
  AppendVarLen(data_, delta);
  data_.insert(data_.end(), bytes.begin(), bytes.end());
  return *this;
}

SmfTrack& SmfTrack::NoteOn(std::uint32_t delta, std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
  return Raw(delta, {static_cast<std::uint8_t>(0x90 | channel), note, velocity});
}

SmfTrack& SmfTrack::NoteOff(std::uint32_t delta, std::uint8_t channel, std::uint8_t note) {
  return Raw(delta, {static_cast<std::uint8_t>(0x80 | channel), note, 0x40});
}

SmfTrack& SmfTrack::Control(std::uint32_t delta, std::uint8_t channel, std::uint8_t controller,
                            std::uint8_t value) {
  return Raw(delta, {static_cast<std::uint8_t>(0xB0 | channel), controller, value});
}

SmfTrack& SmfTrack::Program(std::uint32_t delta, std::uint8_t channel, std::uint8_t program) {
  return Raw(delta, {static_cast<std::uint8_t>(0xC0 | channel), program});
}

SmfTrack& SmfTrack::SysEx(std::uint32_t delta, std::initializer_list<std::uint8_t> body) {
  return SysEx(delta, std::span<const std::uint8_t>(body.begin(), body.size()));
}

SmfTrack& SmfTrack::SysEx(std::uint32_t delta, std::span<const std::uint8_t> body) {
  AppendVarLen(data_, delta);
  data_.push_back(0xF0);
  AppendVarLen(data_, static_cast<std::uint32_t>(body.size()));
  data_.insert(data_.end(), body.begin(), body.end());
  return *this;
}

SmfTrack& SmfTrack::Escape(std::uint32_t delta, std::initializer_list<std::uint8_t> body) {
  AppendVarLen(data_, delta);
  data_.push_back(0xF7);
  AppendVarLen(data_, static_cast<std::uint32_t>(body.size()));
  data_.insert(data_.end(), body.begin(), body.end());
  return *this;
}

SmfTrack& SmfTrack::Meta(std::uint32_t delta, std::uint8_t type, std::span<const std::uint8_t> data) {
  AppendVarLen(data_, delta);
  data_.push_back(0xFF);
  data_.push_back(type);
  AppendVarLen(data_, static_cast<std::uint32_t>(data.size()));
  data_.insert(data_.end(), data.begin(), data.end());
  return *this;
}

SmfTrack& SmfTrack::Text(std::uint32_t delta, std::uint8_t type, std::string_view text) {
  return Meta(delta, type,
              std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

SmfTrack& SmfTrack::Tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
  const std::uint8_t data[] = {static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                               static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                               static_cast<std::uint8_t>(microsecondsPerQuarter)};
  return Meta(delta, 0x51, data);
}

SmfTrack& SmfTrack::TimeSignature(std::uint32_t delta, std::uint8_t numerator, std::uint8_t denominatorPower) {
  const std::uint8_t data[] = {numerator, denominatorPower, 24, 8};
  return Meta(delta, 0x58, data);
}

SmfTrack& SmfTrack::Port(std::uint32_t delta, std::uint8_t port) {
  const std::uint8_t data[] = {port};
  return Meta(delta, 0x21, data);
}

SmfTrack& SmfTrack::EndOfTrack(std::uint32_t delta) { return Meta(delta, 0x2F, {}); }

SmfTrack& SmfBuilder::AddTrack() { return tracks_.emplace_back(); }

SmfBuilder& SmfBuilder::DeclareTracks(std::uint16_t count) {
  declaredTracks_ = count;
  return *this;
}

Bytes SmfBuilder::Build() const {
  Bytes out = {'M', 'T', 'h', 'd'};
  AppendBE32(out, 6);
  AppendBE16(out, format_);
  AppendBE16(out, static_cast<std::uint16_t>(declaredTracks_ >= 0 ? declaredTracks_ : tracks_.size()));
  AppendBE16(out, division_);
  for (const SmfTrack& track : tracks_) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    AppendBE32(out, static_cast<std::uint32_t>(track.Data().size()));
    out.insert(out.end(), track.Data().begin(), track.Data().end());
  }
  return out;
}

Bytes WrapRiff(std::span<const std::uint8_t> smf) {
  Bytes out = {'R', 'I', 'F', 'F'};
  const auto le32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  le32(static_cast<std::uint32_t>(smf.size() + 12));
  out.insert(out.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
  le32(static_cast<std::uint32_t>(smf.size()));
  out.insert(out.end(), smf.begin(), smf.end());
  return out;
}

Bytes WrapMacBinary(std::span<const std::uint8_t> smf) {
  Bytes out(128, 0);
  const std::string_view name = "song.mid";
  out[1] = static_cast<std::uint8_t>(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) out[2 + i] = static_cast<std::uint8_t>(name[i]);
  const std::uint8_t type[] = {'M', 'i', 'd', 'i'};
  for (std::size_t i = 0; i < 4; ++i) out[65 + i] = type[i];
  const auto length = static_cast<std::uint32_t>(smf.size());
  for (int i = 0; i < 4; ++i) out[83 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  out.insert(out.end(), smf.begin(), smf.end());
  return out;
}

}  // namespace velvasto::test
