#include "support/recomposer_builder.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace velvasto::test {

namespace {

void AppendLE(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// `text` in a field of `size` bytes, padded with zero bytes (cut when longer).
template <typename Text>
void AppendField(Bytes& out, const Text& text, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

// Zero bytes up to the field at `offset`.
void PadTo(Bytes& out, std::size_t offset) {
  if (out.size() > offset) throw std::logic_error("header field overlaps the next one");
  out.resize(offset, 0);
}

}  // namespace

RecomposerTrack& RecomposerTrack::TrackExclusive(std::uint16_t step, std::uint8_t value1, std::uint8_t value2,
                                                 std::initializer_list<std::uint8_t> bytes) {
  Command(0x98, step, value1, value2);
  const std::size_t width = layout_ == RecomposerLayout::Rcp ? 2 : 5;
  for (std::size_t at = 0; at < bytes.size(); at += width) {
    std::array<std::uint8_t, 5> chunk{0xF7, 0xF7, 0xF7, 0xF7, 0xF7};
    std::copy(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + width), chunk.begin());
    if (layout_ == RecomposerLayout::Rcp) {
      records_.push_back({0xF7, 0, chunk[0], chunk[1], 0});
    } else {
      records_.push_back({0xF7, static_cast<std::uint16_t>(chunk[1] | chunk[2] << 8), chunk[3], chunk[0], chunk[4]});
    }
  }
  return *this;
}

RecomposerTrack& RecomposerTrack::SameMeasure(std::uint16_t reference) {
  if (layout_ == RecomposerLayout::G36) return Command(0xFC, reference);
  const std::uint32_t offset = 44u + 4u * reference;  // RCP: the byte offset of the record in the track
  return Command(0xFC, 0, static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8));
}

// RCP: 44-byte track header, 4-byte records (command, step, byte 2, byte 3). G36: 46-byte
// header, 6-byte records (command, byte 1, step 2-3, bytes 4-5).
Bytes RecomposerTrack::Build() const {
  const bool rcp = layout_ == RecomposerLayout::Rcp;
  const std::size_t size = rcp ? 44 + 4 * records_.size() : 46 + 6 * records_.size();
  if (rcp && size > 0xFFFF) throw std::length_error("RCP track longer than 65535 bytes");
  Bytes out;
  AppendLE(out, static_cast<std::uint32_t>(declaredSize_ >= 0 ? declaredSize_ : static_cast<std::int64_t>(size)), rcp ? 2 : 4);
  out.insert(out.end(), {0, 0, channel_, key_, stepShift_, mode_});  // track number and rhythm flag 0
  out.resize(out.size() + 36, 0);                                     // no comment
  for (const Record& record : records_) {
    if (rcp && (record.step > 0xFF || record.gateHigh != 0)) throw std::invalid_argument("RCP steps and gates are 8-bit");
    if (rcp) {
      out.insert(out.end(), {record.command, static_cast<std::uint8_t>(record.step), record.data1, record.data2});
    } else {
      out.insert(out.end(), {record.command, record.data2, static_cast<std::uint8_t>(record.step),
                             static_cast<std::uint8_t>(record.step >> 8), record.data1, record.gateHigh});
    }
  }
  return out;
}

template <>
Bytes RcpBuilder::BuildHeader() const {
  Bytes out;
  AppendField(out, std::string_view("RCM-PC98V2.0(C)COME ON MUSIC\r\n\x1A"), 32);
  AppendField(out, header.title, 64);
  AppendField(out, header.memo, 336);
  PadTo(out, 0x1C0);
  out.insert(out.end(), {static_cast<std::uint8_t>(header.timeBase), static_cast<std::uint8_t>(header.tempo),
                         header.beatNumerator, header.beatDenominator, header.key,
                         static_cast<std::uint8_t>(header.playBias)});
  AppendField(out, header.cm6Name, 12);
  PadTo(out, 0x1D6);
  AppendField(out, header.gsdName, 12);
  PadTo(out, 0x1E6);
  out.push_back(static_cast<std::uint8_t>(header.trackCountByte >= 0 ? header.trackCountByte : tracks_.size()));
  out.push_back(static_cast<std::uint8_t>(header.timeBase >> 8));
  PadTo(out, 0x406);
  for (const auto& pattern : header.userExclusives) {
    out.resize(out.size() + 24, 0);  // the template's memo
    AppendField(out, pattern, 24);
  }
  return out;
}

template <>
Bytes G36Builder::BuildHeader() const {
  Bytes out;
  AppendField(out, std::string_view("COME ON MUSIC RECOMPOSER RCP3.0"), 32);
  AppendField(out, header.title, 64);
  PadTo(out, 0xA0);
  AppendField(out, header.memo, 360);
  out.push_back(static_cast<std::uint8_t>(header.trackCountByte >= 0 ? header.trackCountByte : tracks_.size()));
  out.push_back(0);
  AppendLE(out, header.timeBase, 2);
  AppendLE(out, header.tempo, 2);
  out.insert(out.end(), {header.beatNumerator, header.beatDenominator, header.key, static_cast<std::uint8_t>(header.playBias)});
  PadTo(out, 0x298);
  AppendField(out, header.gsdName, 12);
  PadTo(out, 0x2A8);
  AppendField(out, header.gsd2Name, 12);
  PadTo(out, 0x2B8);
  AppendField(out, header.cm6Name, 12);
  PadTo(out, 0xB18);
  for (const auto& pattern : header.userExclusives) {
    out.resize(out.size() + 23, 0);  // the template's memo
    AppendField(out, pattern, 25);
  }
  return out;
}

}  // namespace velvasto::test
