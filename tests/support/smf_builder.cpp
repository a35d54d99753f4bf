#include "support/smf_builder.h"

namespace velvasto::test {

void AppendVarLen(Bytes& out, std::uint32_t value) {
  for (int shift = 28; shift > 0; shift -= 7) {
    if (value >> shift) out.push_back(static_cast<std::uint8_t>(0x80 | (value >> shift)));
  }
  out.push_back(static_cast<std::uint8_t>(value & 0x7F));
}

void AppendBE16(Bytes& out, std::uint16_t value) { out.insert(out.end(), {std::uint8_t(value >> 8), std::uint8_t(value)}); }
void AppendBE32(Bytes& out, std::uint32_t value) {
  AppendBE16(out, static_cast<std::uint16_t>(value >> 16));
  AppendBE16(out, static_cast<std::uint16_t>(value));
}

SmfTrack& SmfTrack::Raw(std::uint32_t delta, std::span<const std::uint8_t> bytes) {
  AppendVarLen(data_, delta);
  data_.insert(data_.end(), bytes.begin(), bytes.end());
  return *this;
}

SmfTrack& SmfTrack::Event(std::uint32_t delta, List head, std::span<const std::uint8_t> body) {
  Raw(delta, head);
  AppendVarLen(data_, static_cast<std::uint32_t>(body.size()));
  data_.insert(data_.end(), body.begin(), body.end());
  return *this;
}

Bytes SmfBuilder::Build() const {
  Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  AppendBE16(out, format_);
  AppendBE16(out, static_cast<std::uint16_t>(tracks_.size()));
  AppendBE16(out, division_);
  for (const SmfTrack& track : tracks_) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    AppendBE32(out, static_cast<std::uint32_t>(track.Data().size()));
    out.insert(out.end(), track.Data().begin(), track.Data().end());
  }
  return out;
}

Bytes WrapRiff(std::span<const std::uint8_t> smf) {
  Bytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a', 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) {  // the sizes, little-endian
    out[4 + i] = static_cast<std::uint8_t>((smf.size() + 12) >> (8 * i));
    out[16 + i] = static_cast<std::uint8_t>(smf.size() >> (8 * i));
  }
  out.insert(out.end(), smf.begin(), smf.end());
  return out;
}

Bytes WrapMacBinary(std::span<const std::uint8_t> smf) {
  Bytes out(128, 0);
  const std::string_view fields = "\x08song.mid";  // the name's length and the name
  std::copy(fields.begin(), fields.end(), out.begin() + 1);
  const std::string_view type = "Midi";
  std::copy(type.begin(), type.end(), out.begin() + 65);
  for (int i = 0; i < 4; ++i) out[83 + i] = static_cast<std::uint8_t>(smf.size() >> (24 - 8 * i));  // data fork length
  out.insert(out.end(), smf.begin(), smf.end());
  return out;
}

}  // namespace velvasto::test
