#include "midiout/event_line.h"

#include <gtest/gtest.h>

#include "support/table_stream.h"

namespace velvasto {
namespace {

std::uint32_t Pack(std::uint8_t status, std::uint8_t data1 = 0, std::uint8_t data2 = 0) {
  return status | data1 << 8 | data2 << 16;
}

TEST(EventLineTest, ShortMessagesShowTheBytesTheirStatusCarries) {
  EXPECT_EQ(FormatShortLine(1041667, PortId::A, Pack(0x90, 0x3C, 0x64)), "1041667 A MSG 90 3C 64");
  EXPECT_EQ(FormatShortLine(0, PortId::B, Pack(0x8F, 0x00, 0x7F)), "0 B MSG 8F 00 7F");
  EXPECT_EQ(FormatShortLine(5, PortId::A, Pack(0xBA, 0x07, 0x64)), "5 A MSG BA 07 64");
  EXPECT_EQ(FormatShortLine(5, PortId::A, Pack(0xE3, 0x00, 0x40)), "5 A MSG E3 00 40");
  // Program change and channel pressure carry one data byte; stray bits above it are not shown.
  EXPECT_EQ(FormatShortLine(5, PortId::A, Pack(0xC9, 0x19, 0x55)), "5 A MSG C9 19");
  EXPECT_EQ(FormatShortLine(5, PortId::B, Pack(0xD0, 0x40, 0x55)), "5 B MSG D0 40");
  // System common and real-time messages.
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xF1, 0x12, 0x55)), "7 A MSG F1 12");
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xF2, 0x01, 0x02)), "7 A MSG F2 01 02");
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xF3, 0x05, 0x55)), "7 A MSG F3 05");
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xF6, 0x05, 0x55)), "7 A MSG F6");
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xF8, 0x05, 0x55)), "7 A MSG F8");
  EXPECT_EQ(FormatShortLine(7, PortId::A, Pack(0xFF, 0x05, 0x55)), "7 A MSG FF");
  // Times beyond 32 bits stay exact.
  EXPECT_EQ(FormatShortLine(5000000000ULL, PortId::A, Pack(0xFE)), "5000000000 A MSG FE");
}

TEST(EventLineTest, SysExShowsEveryByte) {
  const std::uint8_t gsReset[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
  EXPECT_EQ(FormatSysExLine(20, PortId::B, gsReset), "20 B SYX F0 41 10 42 12 40 00 7F 00 41 F7");
}

TEST(EventLineTest, EveryRecordKindOfATableHasItsLine) {
  test::TableStream stream;
  stream.Tempo(0, 120)
      .Marker(0, 2)
      .SysEx(0, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Short(500000, PortId::B, 0x91, 0x24, 0x7F)
      .Short(500000, PortId::A, 0xC0, 0x05)
      .Marker(600000, 3)
      .End(1000000);
  stream.Build();
  std::vector<std::string> lines;
  for (const StreamEvent& event : stream.Events()) lines.push_back(FormatEventLine(event, stream));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "0 - TEMPO 120",
                       "0 - MARK 2",
                       "0 A SYX F0 7E 7F 09 01 F7",
                       "500000 B MSG 91 24 7F",
                       "500000 A MSG C0 05",
                       "600000 - MARK 3",
                       "1000000 - END",
                   }));
}

}  // namespace
}  // namespace velvasto
