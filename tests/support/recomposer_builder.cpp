#include "support/recomposer_builder.h"

#include <algorithm>
#include <stdexcept>

namespace velvasto::test {

namespace {

void AppendLE16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLE32(Bytes& out, std::uint32_t value) {
  AppendLE16(out, value);
  AppendLE16(out, value >> 16);
}

// `text` in a field of `size` bytes, padded with zero bytes (cut when longer).
void AppendField(Bytes& out, std::string_view text, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

void AppendField(Bytes& out, std::span<const std::uint8_t> bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(i < bytes.size() ? bytes[i] : 0);
}

void PadTo(Bytes& out, std::size_t offset) {
  if (out.size() > offset) throw std::logic_error("header field overlaps the next one");
  out.resize(offset, 0);
}

template <typename Track>
std::uint8_t TrackCountByte(const RecomposerHeader& header, const std::vector<std::unique_ptr<Track>>& tracks) {
  return static_cast<std::uint8_t>(header.trackCountByte >= 0 ? header.trackCountByte : tracks.size());
}

}  // namespace

RecomposerTrack& RecomposerTrack::Channel(std::uint8_t channelByte) {
  channel_ = channelByte;
  return *this;
}
RecomposerTrack& RecomposerTrack::Key(std::uint8_t key) {
  key_ = key;
  return *this;
}
RecomposerTrack& RecomposerTrack::StepShift(std::int8_t shift) {
  stepShift_ = shift;
  return *this;
}
RecomposerTrack& RecomposerTrack::Mode(std::uint8_t mode) {
  mode_ = mode;
  return *this;
}
RecomposerTrack& RecomposerTrack::Comment(std::string_view comment) {
  comment_ = comment;
  return *this;
}
RecomposerTrack& RecomposerTrack::DeclareSize(std::uint32_t size) {
  declaredSize_ = size;
  return *this;
}

RecomposerTrack& RecomposerTrack::Command(std::uint8_t command, std::uint16_t step, std::uint8_t data1,
                                          std::uint8_t data2) {
  records_.push_back({command, step, data1, data2, 0});
  return *this;
}

RecomposerTrack& RecomposerTrack::Note(std::uint16_t step, std::uint8_t note, std::uint16_t gate,
                                       std::uint8_t velocity) {
  records_.push_back({note, step, static_cast<std::uint8_t>(gate), velocity, static_cast<std::uint8_t>(gate >> 8)});
  return *this;
}

RecomposerTrack& RecomposerTrack::TrackExclusive(std::uint16_t step, std::uint8_t value1, std::uint8_t value2,
                                                 std::initializer_list<std::uint8_t> bytes) {
  Command(0x98, step, value1, value2);
  const std::vector<std::uint8_t> all(bytes);
  const std::size_t width = ContinuationBytes();
  for (std::size_t at = 0; at < all.size(); at += width) {
    std::vector<std::uint8_t> chunk(all.begin() + static_cast<std::ptrdiff_t>(at),
                                    all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), at + width)));
    chunk.resize(width, 0xF7);
    records_.push_back(ContinuationRecord(chunk));
  }
  return *this;
}

// --- RCP: 44-byte track header, 4-byte records (command, step, byte 2, byte 3).

RecomposerTrack& RcpTrack::SameMeasure(std::uint16_t recordIndex) {
  const std::uint32_t offset = 44u + 4u * recordIndex;
  return Command(0xFC, 0, static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8));
}

RecomposerTrack::Record RcpTrack::ContinuationRecord(std::span<const std::uint8_t> bytes) const {
  return {0xF7, 0, bytes[0], bytes[1], 0};
}

Bytes RcpTrack::Build() const {
  Bytes out;
  const std::size_t size = 44 + 4 * records_.size();
  if (size > 0xFFFF) throw std::length_error("RCP track longer than 65535 bytes");
  AppendLE16(out, static_cast<std::uint32_t>(declaredSize_ >= 0 ? declaredSize_ : static_cast<std::int64_t>(size)));
  out.push_back(0);  // track number
  out.push_back(0);  // rhythm flag
  out.push_back(channel_);
  out.push_back(key_);
  out.push_back(static_cast<std::uint8_t>(stepShift_));
  out.push_back(mode_);
  AppendField(out, comment_, 36);
  for (const Record& record : records_) {
    if (record.step > 0xFF || record.gateHigh != 0) throw std::invalid_argument("RCP steps and gates are 8-bit");
    out.push_back(record.command);
    out.push_back(static_cast<std::uint8_t>(record.step));
    out.push_back(record.data1);
    out.push_back(record.data2);
  }
  return out;
}

Bytes RcpBuilder::BuildHeader() const {
  Bytes out;
  AppendField(out, "RCM-PC98V2.0(C)COME ON MUSIC\r\n\x1A", 32);
  AppendField(out, header.title, 64);
  AppendField(out, header.memo, 336);
  PadTo(out, 0x1C0);
  out.push_back(static_cast<std::uint8_t>(header.timeBase));
  out.push_back(static_cast<std::uint8_t>(header.tempo));
  out.push_back(header.beatNumerator);
  out.push_back(header.beatDenominator);
  out.push_back(header.key);
  out.push_back(static_cast<std::uint8_t>(header.playBias));
  AppendField(out, header.cm6Name, 12);
  PadTo(out, 0x1D6);
  AppendField(out, header.gsdName, 12);
  PadTo(out, 0x1E6);
  out.push_back(TrackCountByte(header, tracks_));
  out.push_back(static_cast<std::uint8_t>(header.timeBase >> 8));
  PadTo(out, 0x406);
  for (const auto& pattern : header.userExclusives) {
    AppendField(out, "", 24);
    AppendField(out, pattern, 24);
  }
  return out;
}

RecomposerTrack& RcpBuilder::AddTrack() {
  tracks_.push_back(std::make_unique<RcpTrack>());
  return *tracks_.back();
}

Bytes RcpBuilder::Build() const {
  Bytes out = BuildHeader();
  for (const auto& track : tracks_) {
    const Bytes bytes = track->Build();
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

// --- G36: 46-byte track header, 6-byte records (command, byte 1, step 2-3, bytes 4-5).

RecomposerTrack& G36Track::SameMeasure(std::uint16_t measure) { return Command(0xFC, measure); }

RecomposerTrack::Record G36Track::ContinuationRecord(std::span<const std::uint8_t> bytes) const {
  return {0xF7, static_cast<std::uint16_t>(bytes[1] | bytes[2] << 8), bytes[3], bytes[0], bytes[4]};
}

Bytes G36Track::Build() const {
  Bytes out;
  const std::size_t size = 46 + 6 * records_.size();
  AppendLE32(out, static_cast<std::uint32_t>(declaredSize_ >= 0 ? declaredSize_ : static_cast<std::int64_t>(size)));
  out.push_back(0);  // track number
  out.push_back(0);  // rhythm flag
  out.push_back(channel_);
  out.push_back(key_);
  out.push_back(static_cast<std::uint8_t>(stepShift_));
  out.push_back(mode_);
  AppendField(out, comment_, 36);
  for (const Record& record : records_) {
    out.push_back(record.command);
    out.push_back(record.data2);
    AppendLE16(out, record.step);
    out.push_back(record.data1);
    out.push_back(record.gateHigh);
  }
  return out;
}

Bytes G36Builder::BuildHeader() const {
  Bytes out;
  AppendField(out, "COME ON MUSIC RECOMPOSER RCP3.0", 32);
  AppendField(out, header.title, 64);
  PadTo(out, 0xA0);
  AppendField(out, header.memo, 360);
  out.push_back(TrackCountByte(header, tracks_));
  out.push_back(0);
  AppendLE16(out, header.timeBase);
  AppendLE16(out, header.tempo);
  out.push_back(header.beatNumerator);
  out.push_back(header.beatDenominator);
  out.push_back(header.key);
  out.push_back(static_cast<std::uint8_t>(header.playBias));
  PadTo(out, 0x298);
  AppendField(out, header.gsdName, 12);
  PadTo(out, 0x2A8);
  AppendField(out, header.gsd2Name, 12);
  PadTo(out, 0x2B8);
  AppendField(out, header.cm6Name, 12);
  PadTo(out, 0xB18);
  for (const auto& pattern : header.userExclusives) {
    AppendField(out, "", 23);
    AppendField(out, pattern, 25);
  }
  return out;
}

RecomposerTrack& G36Builder::AddTrack() {
  tracks_.push_back(std::make_unique<G36Track>());
  return *tracks_.back();
}

Bytes G36Builder::Build() const {
  Bytes out = BuildHeader();
  for (const auto& track : tracks_) {
    const Bytes bytes = track->Build();
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  out.insert(out.end(), trailer.begin(), trailer.end());
  return out;
}

}  // namespace velvasto::test
