#include "support/table_stream.h"

#include <utility>

namespace velvasto::test {

TableStream::TableStream(SongSettings settings) : CMIDIStream(std::move(settings)) {}

TableStream& TableStream::Short(std::uint64_t timeUs, PortId port, std::uint8_t status, std::uint8_t data1,
                                std::uint8_t data2) {
  records_.push_back({timeUs, port, status, data1, data2, {}});
  return *this;
}

TableStream& TableStream::SysEx(std::uint64_t timeUs, PortId port, std::initializer_list<std::uint8_t> bytes) {
  records_.push_back({timeUs, port, kStatusSysEx, 0, 0, bytes});
  return *this;
}

TableStream& TableStream::Tempo(std::uint64_t timeUs, std::uint8_t bpm) {
  return Short(timeUs, PortId::None, kStatusTempo, bpm);
}

TableStream& TableStream::Marker(std::uint64_t timeUs, std::uint8_t subtype) {
  return Short(timeUs, PortId::None, kStatusMarker, subtype);
}

TableStream& TableStream::End(std::uint64_t timeUs) { return Short(timeUs, PortId::None, kStatusEnd); }

void TableStream::Build() { BuildTable(); }

void TableStream::FillPass() {
  for (std::uint32_t i = 0; i < records_.size(); ++i) {
    const Record& r = records_[i];
    if (r.status == kStatusSysEx) {
      SetSysExEvent(i, r.time, r.sysex.data(), r.sysex.size(), r.port);
    } else if (r.status == kStatusTempo || r.status == kStatusMarker || r.status == kStatusEnd) {
      // These records carry their value in `message` alone.
      SetShortEvent(i, r.status, r.time, r.data1, 0, 0, r.port);
    } else {
      SetShortEvent(i, r.status, r.time, r.status, r.data1, r.data2, r.port);
    }
  }
}

}  // namespace velvasto::test
