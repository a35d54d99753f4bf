#pragma once
// A song built record by record that may also declare control blocks at the head of its table.

#include <cstdint>

#include "support/table_stream.h"

namespace velvasto::test {

class EngineSong final : public TableStream {
 public:
  explicit EngineSong(int portCount = 1) : TableStream(SongSettings{.portCount = portCount}) {}

  // Count (markers and the opening tempo record included), duration and number of messages of a
  // control block (by default its count less the two markers).
  void Block(ControlBlock block, std::uint32_t count, std::uint64_t durationUs, int messages = -1) {
    SetControlBlock(block, count, durationUs, messages < 0 ? count - 2 : static_cast<std::uint32_t>(messages));
  }
};

}  // namespace velvasto::test
