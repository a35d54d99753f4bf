#pragma once
// A song whose event table is written record by record in the test, for code that consumes a
// table (the engine, outputs, the dump form) without going through a file reader.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto::test {

class TableStream : public CMIDIStream {
 public:
  explicit TableStream(SongSettings settings = {}) : CMIDIStream(std::move(settings)) {}

  // Records are kept in the order added; give them in time order.
  TableStream& Short(std::uint64_t timeUs, PortId port, std::uint8_t status, std::uint8_t data1 = 0,
                     std::uint8_t data2 = 0) {
    records_.push_back({timeUs, port, status, data1, data2, {}});
    return *this;
  }
  TableStream& SysEx(std::uint64_t timeUs, PortId port, std::initializer_list<std::uint8_t> bytes) {
    records_.push_back({timeUs, port, kStatusSysEx, 0, 0, bytes});
    return *this;
  }
  TableStream& Tempo(std::uint64_t timeUs, std::uint8_t bpm) { return Short(timeUs, PortId::None, kStatusTempo, bpm); }
  TableStream& Marker(std::uint64_t timeUs, std::uint8_t subtype) {
    return Short(timeUs, PortId::None, kStatusMarker, subtype);
  }
  TableStream& End(std::uint64_t timeUs) { return Short(timeUs, PortId::None, kStatusEnd); }
  // Builds the table from the records added so far.
  void Build() { BuildTable(); }

  SongInfo Info() const override { return {}; }

 protected:
  bool CountPass() override { return true; }
  std::uint32_t RecordCountOfCountPass() const override { return static_cast<std::uint32_t>(records_.size()); }
  void FillPass() override {
    for (std::uint32_t i = 0; i < records_.size(); ++i) {
      const Record& r = records_[i];
      if (r.status == kStatusSysEx) {
        SetSysExEvent(i, r.time, r.sysex.data(), r.sysex.size(), r.port);
      } else if (r.status == kStatusTempo || r.status == kStatusMarker || r.status == kStatusEnd) {
        SetShortEvent(i, r.status, r.time, r.data1, 0, 0, r.port);  // the value is the whole message
      } else {
        SetShortEvent(i, r.status, r.time, r.status, r.data1, r.data2, r.port);
      }
    }
  }

 private:
  struct Record {
    std::uint64_t time;
    PortId port;
    std::uint8_t status, data1, data2;
    std::vector<std::uint8_t> sysex;
  };
  std::vector<Record> records_;
};

}  // namespace velvasto::test
