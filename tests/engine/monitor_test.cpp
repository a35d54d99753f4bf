// What the monitor is told: classification of sent messages, and the two rings.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "engine/monitor_ring.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 74-byte message beginning with `prefix`, padded with zeros and ended by F7.
Bytes SeventyFourBytes(std::initializer_list<std::uint8_t> prefix) {
  Bytes message(prefix);
  message.resize(74, 0x00);
  message.back() = 0xF7;
  return message;
}

TEST(MonitorEntries, ClassifyWhatWasSentByTheFirstMatchingRow) {
  struct Row {
    std::uint32_t message;  // a short message, or 0 for `sysex`
    Bytes sysex;
    std::optional<MonitorKind> kind;
    std::uint32_t value;
  };
  const Row rows[] = {
      {Msg(0x93, 60, 100), {}, MonitorKind::NoteOn, 100},
      {Msg(0x93, 60, 0), {}, MonitorKind::NoteOff, 0},
      {Msg(0xB5, 7, 64), {}, MonitorKind::Volume, 64},
      {Msg(0x8F, 60, 64), {}, MonitorKind::NoteOff, 0},
      {Msg(0xB5, 11, 90), {}, MonitorKind::Expression, 90},
      {Msg(0xB0, 10, 64), {}, std::nullopt, 0},
      {0, SeventyFourBytes({0xF0, 0x41, 0x10, 0x45, 0x12, 0x10, 0x01, 0x00}), MonitorKind::GsDisplay, 0},
      // At 74 bytes nothing but the dot display counts, not even a master volume.
      {0, SeventyFourBytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64}), std::nullopt, 0},
      {0, {0xF0, 0x7F, 0x04, 0x01, 0x00, 0x55, 0xF7}, MonitorKind::MasterVolume, 0x55},
      {0, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04, 0x66, 0xF7}, MonitorKind::MasterVolume, 0x66},
      {0, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7}, MonitorKind::MasterVolume, 0x64},
      {0, {0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00, 0x2F, 0x01, 0xF7}, MonitorKind::XgBitmap, 0},
      {0, {0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00, 0x30, 0x01, 0xF7}, std::nullopt, 0},
      // Master volumes cut right before the byte the entry would report.
      {0, {0xF0, 0x7F, 0x04, 0x01, 0x00}, std::nullopt, 0},
      {0, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04}, std::nullopt, 0},
      {0, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04}, std::nullopt, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    const auto entry = row.message != 0 ? ChannelEntry(row.message, 1) : SysExEntry(row.sysex, 1);
    ASSERT_EQ(entry.has_value(), row.kind.has_value());
    if (!entry) continue;
    EXPECT_EQ(entry->kind, *row.kind);
    EXPECT_EQ(entry->value, row.value);
    EXPECT_EQ(entry->port, 1u);
    EXPECT_EQ(entry->channel, row.message != 0 ? static_cast<int>(row.message & 0x0F) : -1);
    EXPECT_TRUE(std::ranges::equal(row.sysex, std::span(entry->data).first(entry->length)));
    EXPECT_FALSE(row.message != 0 ? ChannelEntry(row.message, 2) : SysExEntry(row.sysex, 2)) << "not a port";
  }
  Bytes longer{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x7F};
  longer.resize(100, 0x11);
  EXPECT_EQ(SysExEntry(longer, 0).value().length, 76u) << "the first 76 bytes are kept";
}

TEST(MonitorRings, KeepOrderAcrossTheWrapAndLoseWhatFindsThemFull) {
  EngineMonitorRing ring;
  ApplicationMonitorRing application;
  std::vector<MonitorEntry> taken;
  for (std::uint32_t n = 0; n < 1'700; ++n) ASSERT_TRUE(ring.TryPush(MonitorEntry{}));  // moves the start
  application.TransferFrom(ring);
  application.TakeAll(taken);
  for (std::uint32_t n = 0; n < kMonitorRingSize; ++n) ASSERT_TRUE(ring.TryPush(BlockEntry(MonitorKind::NoteOn, n)));
  EXPECT_FALSE(ring.TryPush(MonitorEntry{}));
  ASSERT_TRUE(application.Push(BlockEntry(MonitorKind::Tempo, 0)));
  EXPECT_EQ(application.TransferFrom(ring), kMonitorRingSize - 1) << "the last one finds the ring full";
  EXPECT_TRUE(ring.TryPush(MonitorEntry{})) << "the engine ring was emptied all the same";
  application.TakeAll(taken);
  ASSERT_EQ(taken.size(), kMonitorRingSize);
  EXPECT_EQ(taken[0].kind, MonitorKind::Tempo);
  for (std::uint32_t n = 1; n < kMonitorRingSize; ++n) ASSERT_EQ(taken[n].value, n - 1);
  EXPECT_EQ(application.Count(), 0u);
}

}  // namespace
}  // namespace velvasto::test
