#include "support/recomposer_builder.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string_view>

namespace velvasto::test {

namespace {

void AppendLE(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// `text` into the field of `size` bytes at `offset` (cut when longer).
template <typename Text>
void Put(Bytes& out, std::size_t offset, const Text& text, std::size_t size) {
  for (std::size_t i = 0; i < std::min<std::size_t>(size, std::size(text)); ++i) out[offset + i] = static_cast<std::uint8_t>(text[i]);
}

std::uint8_t TrackCountByte(const RecomposerHeader& header, std::size_t tracks) {
  return static_cast<std::uint8_t>(header.trackCountByte >= 0 ? header.trackCountByte : static_cast<int>(tracks));
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
  Bytes out(0x406 + 8 * 48, 0);
  Put(out, 0x000, std::string_view("RCM-PC98V2.0(C)COME ON MUSIC\r\n\x1A"), 32);
  Put(out, 0x020, header.title, 64);
  Put(out, 0x060, header.memo, 336);
  const std::uint8_t fields[] = {static_cast<std::uint8_t>(header.timeBase), static_cast<std::uint8_t>(header.tempo),
                                 header.beatNumerator, header.beatDenominator, header.key,
                                 static_cast<std::uint8_t>(header.playBias)};
  Put(out, 0x1C0, fields, sizeof fields);
  Put(out, 0x1C6, header.cm6Name, 12);
  Put(out, 0x1D6, header.gsdName, 12);
  out[0x1E6] = TrackCountByte(header, tracks_.size());
  out[0x1E7] = static_cast<std::uint8_t>(header.timeBase >> 8);
  for (std::size_t i = 0; i < 8; ++i) Put(out, 0x406 + 48 * i + 24, header.userExclusives[i], 24);  // after its memo
  return out;
}

template <>
Bytes G36Builder::BuildHeader() const {
  Bytes out(0xB18 + 8 * 48, 0);
  Put(out, 0x000, std::string_view("COME ON MUSIC RECOMPOSER RCP3.0"), 32);
  Put(out, 0x020, header.title, 64);
  Put(out, 0x0A0, header.memo, 360);
  const std::uint8_t fields[] = {TrackCountByte(header, tracks_.size()), 0,
                                 static_cast<std::uint8_t>(header.timeBase), static_cast<std::uint8_t>(header.timeBase >> 8),
                                 static_cast<std::uint8_t>(header.tempo), static_cast<std::uint8_t>(header.tempo >> 8),
                                 header.beatNumerator, header.beatDenominator, header.key,
                                 static_cast<std::uint8_t>(header.playBias)};
  Put(out, 0x208, fields, sizeof fields);
  Put(out, 0x298, header.gsdName, 12);
  Put(out, 0x2A8, header.gsd2Name, 12);
  Put(out, 0x2B8, header.cm6Name, 12);
  for (std::size_t i = 0; i < 8; ++i) Put(out, 0xB18 + 48 * i + 23, header.userExclusives[i], 25);  // after its memo
  return out;
}

}  // namespace velvasto::test
