#include <gtest/gtest.h>

#include <algorithm>

#include "song/midi_stream.h"

namespace velvasto {
namespace {

TEST(ProgramMapTest, ClassesCoverEveryProgramWithKnownValues) {
  const auto& table = CMIDIStream::ProgramMapTable();
  EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](std::uint32_t c) { return c <= 3; }));
  EXPECT_EQ(table[0], 3u);   // Piano 1: banks 8 and 16
  EXPECT_EQ(table[48], 2u);  // Strings: Orchestra on bank 8
  EXPECT_EQ(table[56], 1u);  // Trumpet: capital only
  EXPECT_EQ(table[127], 0u); // Gun Shot: effects on banks 1..3
}

TEST(ProgramMapTest, ForcedMapNumberingBecomesTheGsMapLsb) {
  EXPECT_EQ(ForceMapToMapLsb(0), 0);
  EXPECT_EQ(ForceMapToMapLsb(1), 3);
  EXPECT_EQ(ForceMapToMapLsb(2), 2);
  EXPECT_EQ(ForceMapToMapLsb(3), 1);
  EXPECT_EQ(ForceMapToMapLsb(4), 0);
}

}  // namespace
}  // namespace velvasto
