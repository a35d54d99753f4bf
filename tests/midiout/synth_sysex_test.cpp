#include "midiout/backends/synth_sysex.h"

#include <gtest/gtest.h>

#include <vector>

namespace velvasto {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = SynthSysEx::Kind;

// A Roland data set of one byte with a correct checksum.
Bytes GsDataSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3, std::uint8_t value) {
  const auto sum = static_cast<std::uint8_t>((0x80 - ((a1 + a2 + a3 + value) & 0x7F)) & 0x7F);
  return {0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, value, sum, 0xF7};
}

TEST(SynthSysExTest, ResetsActOnTheInputThatReceivesThem) {
  const Bytes resets[] = {
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},  // GS reset
      {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},                                // GM1 System On
      {0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7},                                // GM2 System On
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},              // XG System On
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7F, 0x00, 0xF7},              // XG all-parameter reset
  };
  EXPECT_EQ(GsDataSet(0x40, 0x00, 0x7F, 0x00), resets[0]);
  for (const Bytes& reset : resets) {
    EXPECT_EQ(InterpretSynthSysEx(reset, 0).kind, Kind::ResetInput);
    EXPECT_EQ(InterpretSynthSysEx(reset, 16).kind, Kind::ResetInput);
  }
}

TEST(SynthSysExTest, RhythmPartAddressesAPartOfTheReceivingInputOrOfGroupB) {
  SynthSysEx drumOnB = InterpretSynthSysEx(GsDataSet(0x40, 0x11, 0x15, 0x02), 16);
  EXPECT_EQ(drumOnB.kind, Kind::RhythmPart);
  EXPECT_EQ(drumOnB.channel, 16);  // part 1 of input B
  EXPECT_TRUE(drumOnB.drum);

  SynthSysEx normalOnA = InterpretSynthSysEx(GsDataSet(0x40, 0x10, 0x15, 0x00), 0);
  EXPECT_EQ(normalOnA.kind, Kind::RhythmPart);
  EXPECT_EQ(normalOnA.channel, 9);  // block 0 is channel 10
  EXPECT_FALSE(normalOnA.drum);

  SynthSysEx groupBThroughA = InterpretSynthSysEx(GsDataSet(0x50, 0x1A, 0x15, 0x01), 0);
  EXPECT_EQ(groupBThroughA.kind, Kind::RhythmPart);
  EXPECT_EQ(groupBThroughA.channel, 26);  // block A is channel 11 of group B
  EXPECT_TRUE(groupBThroughA.drum);
}

TEST(SynthSysExTest, EverythingElseIsIgnored) {
  Bytes badChecksum = GsDataSet(0x40, 0x00, 0x7F, 0x00);
  badChecksum[9] = 0x40;
  Bytes unterminated = GsDataSet(0x40, 0x00, 0x7F, 0x00);
  unterminated.back() = 0x00;
  const Bytes ignored[] = {
      badChecksum,
      unterminated,
      GsDataSet(0x40, 0x11, 0x15, 0x03),                                    // no such rhythm-part value
      GsDataSet(0x40, 0x11, 0x19, 0x64),                                    // part level: not ours
      GsDataSet(0x40, 0x00, 0x7F, 0x01),                                    // not a mode set value
      {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7},                                 // GM System Off
      {0xF0, 0x41, 0x10, 0x16, 0x12, 0x7F, 0x00, 0x00, 0x00, 0x01, 0xF7},  // CM-64 reset
      {0xF0, 0x43, 0x10, 0x4C, 0x02, 0x01, 0x00, 0x01, 0xF7},              // XG effect parameter
      {0xF0, 0xF7},
      {},
  };
  for (const Bytes& message : ignored) EXPECT_EQ(InterpretSynthSysEx(message, 16).kind, Kind::Ignore);
}

TEST(SynthSysExTest, PartBlocksMapToChannelsTheGsWay) {
  EXPECT_EQ(GsPartChannel(0x0), 9);
  EXPECT_EQ(GsPartChannel(0x1), 0);
  EXPECT_EQ(GsPartChannel(0x9), 8);
  EXPECT_EQ(GsPartChannel(0xA), 10);
  EXPECT_EQ(GsPartChannel(0xF), 15);
}

}  // namespace
}  // namespace velvasto
