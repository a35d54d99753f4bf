#pragma once
// A song whose event table is written record by record in the test, for code that consumes a
// table (the engine, outputs, the dump form) without going through a file reader.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto::test {

class TableStream : public CMIDIStream {
 public:
  explicit TableStream(SongSettings settings = {});

  // Records are kept in the order added; give them in time order.
  TableStream& Short(std::uint64_t timeUs, PortId port, std::uint8_t status, std::uint8_t data1 = 0,
                     std::uint8_t data2 = 0);
  TableStream& SysEx(std::uint64_t timeUs, PortId port, std::initializer_list<std::uint8_t> bytes);
  TableStream& Tempo(std::uint64_t timeUs, std::uint8_t bpm);
  TableStream& Marker(std::uint64_t timeUs, std::uint8_t subtype);
  TableStream& End(std::uint64_t timeUs);
  // Builds the table from the records added so far.
  void Build();

  SongInfo Info() const override { return {}; }

 protected:
  bool CountPass() override { return true; }
  std::uint32_t RecordCountOfCountPass() const override { return static_cast<std::uint32_t>(records_.size()); }
  void FillPass() override;

 private:
  struct Record {
    std::uint64_t time;
    PortId port;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
    std::vector<std::uint8_t> sysex;
  };
  std::vector<Record> records_;
};

}  // namespace velvasto::test
