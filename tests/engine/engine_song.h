#pragma once
// A song built record by record that may also declare control blocks at the head of its table.

#include <cstdint>

#include "support/table_stream.h"

namespace velvasto::test {

class EngineSong final : public TableStream {
 public:
  explicit EngineSong(int portCount = 1) : TableStream(SongSettings{.portCount = portCount}) {}

  // Count (markers and the opening tempo record included) and duration of a control block.
  void Block(ControlBlock block, std::uint32_t count, std::uint64_t durationUs) {
    SetControlBlock(block, count, durationUs);
  }
};

}  // namespace velvasto::test
