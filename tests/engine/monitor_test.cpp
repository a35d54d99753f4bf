// What the monitor is told: classification of sent messages, and the two rings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "engine/monitor_entry.h"
#include "engine/monitor_ring.h"

namespace velvasto {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t Msg(std::uint32_t status, std::uint32_t data1, std::uint32_t data2 = 0) {
  return status | data1 << 8 | data2 << 16;
}

// A 74-byte message beginning with `prefix`, padded with zeros and ended by F7.
Bytes SeventyFourBytes(std::initializer_list<std::uint8_t> prefix) {
  Bytes message(prefix);
  message.resize(74, 0x00);
  message.back() = 0xF7;
  return message;
}

TEST(MonitorChannelEntry, ShowsNotesVolumesAndExpressionOnly) {
  const auto noteOn = ChannelEntry(Msg(0x93, 60, 100), 1);
  ASSERT_TRUE(noteOn);
  EXPECT_EQ(noteOn->kind, MonitorKind::NoteOn);
  EXPECT_EQ(noteOn->value, 100u);
  EXPECT_EQ(noteOn->port, 1u);
  EXPECT_EQ(noteOn->channel, 3);
  EXPECT_EQ(noteOn->length, 0u);

  const auto silentNoteOn = ChannelEntry(Msg(0x90, 60, 0), 0);
  ASSERT_TRUE(silentNoteOn);
  EXPECT_EQ(silentNoteOn->kind, MonitorKind::NoteOff);
  EXPECT_EQ(silentNoteOn->value, 0u);
  EXPECT_EQ(ChannelEntry(Msg(0x8F, 60, 64), 0)->kind, MonitorKind::NoteOff);

  const auto volume = ChannelEntry(Msg(0xB5, 7, 64), 0);
  EXPECT_EQ(volume->kind, MonitorKind::Volume);
  EXPECT_EQ(volume->value, 64u);
  EXPECT_EQ(ChannelEntry(Msg(0xB5, 11, 90), 0)->kind, MonitorKind::Expression);

  EXPECT_FALSE(ChannelEntry(Msg(0xB0, 10, 64), 0)) << "pan";
  EXPECT_FALSE(ChannelEntry(Msg(0xC0, 5), 0));
  EXPECT_FALSE(ChannelEntry(Msg(0xE0, 0, 64), 0));
  EXPECT_FALSE(ChannelEntry(Msg(0xD0, 40), 0));
  EXPECT_FALSE(ChannelEntry(Msg(0x90, 60, 100), 2)) << "neither port A nor port B";
}

TEST(MonitorSysExEntry, ClassifiesByTheFirstMatchingRow) {
  const Bytes gsDisplay = SeventyFourBytes({0xF0, 0x41, 0x10, 0x45, 0x12, 0x10, 0x01, 0x00});
  const auto display = SysExEntry(gsDisplay, 1);
  ASSERT_TRUE(display);
  EXPECT_EQ(display->kind, MonitorKind::GsDisplay);
  EXPECT_EQ(display->length, 74u);
  EXPECT_TRUE(std::equal(gsDisplay.begin(), gsDisplay.end(), display->data.begin()));
  EXPECT_EQ(display->port, 1u);
  EXPECT_EQ(display->channel, -1);

  // At 74 bytes nothing but the dot display counts, not even a master volume.
  EXPECT_FALSE(SysExEntry(SeventyFourBytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64}), 0));

  const auto universal = SysExEntry(Bytes{0xF0, 0x7F, 0x04, 0x01, 0x00, 0x55, 0xF7}, 0);
  ASSERT_TRUE(universal);
  EXPECT_EQ(universal->kind, MonitorKind::MasterVolume);
  EXPECT_EQ(universal->value, 0x55u);

  const auto xgVolume = SysExEntry(Bytes{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04, 0x66, 0xF7}, 0);
  ASSERT_TRUE(xgVolume);
  EXPECT_EQ(xgVolume->kind, MonitorKind::MasterVolume);
  EXPECT_EQ(xgVolume->value, 0x66u);

  const auto xgBitmap = SysExEntry(Bytes{0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00, 0x2F, 0x01, 0xF7}, 0);
  ASSERT_TRUE(xgBitmap);
  EXPECT_EQ(xgBitmap->kind, MonitorKind::XgBitmap);
  EXPECT_FALSE(SysExEntry(Bytes{0xF0, 0x43, 0x10, 0x4C, 0x07, 0x00, 0x30, 0x01, 0xF7}, 0));

  const auto gsVolume = SysExEntry(Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7}, 0);
  ASSERT_TRUE(gsVolume);
  EXPECT_EQ(gsVolume->kind, MonitorKind::MasterVolume);
  EXPECT_EQ(gsVolume->value, 0x64u);
  EXPECT_EQ(gsVolume->length, 11u);

  EXPECT_FALSE(SysExEntry(Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}, 0)) << "GS reset";
  EXPECT_FALSE(SysExEntry(gsDisplay, 2)) << "neither port A nor port B";
}

TEST(MonitorSysExEntry, MasterVolumeMustHoldItsVolumeByte) {
  // Each prefix alone, cut right before the byte the entry would report.
  EXPECT_FALSE(SysExEntry(Bytes{0xF0, 0x7F, 0x04, 0x01, 0x00}, 0));
  EXPECT_FALSE(SysExEntry(Bytes{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04}, 0));
  EXPECT_FALSE(SysExEntry(Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04}, 0));
}

TEST(MonitorSysExEntry, KeepsTheFirst76BytesOfALongerMessage) {
  Bytes message{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x7F};
  message.resize(100, 0x11);
  const auto entry = SysExEntry(message, 0);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->length, 76u);
  EXPECT_EQ(entry->data[75], 0x11);
}

TEST(MonitorTempoEntry, CarriesNoPortOrChannel) {
  const MonitorEntry entry = TempoEntry(132);
  EXPECT_EQ(entry.kind, MonitorKind::Tempo);
  EXPECT_EQ(entry.value, 132u);
  EXPECT_EQ(entry.port, 999u);
  EXPECT_EQ(entry.channel, -1);
}

MonitorEntry Numbered(std::uint32_t n) { return BlockEntry(MonitorKind::BlockProgress, n); }

TEST(MonitorRings, BurstBeyondThreeThousandLosesTheRest) {
  EngineMonitorRing ring;
  for (std::uint32_t n = 0; n < kMonitorRingSize; ++n) ASSERT_TRUE(ring.TryPush(Numbered(n)));
  EXPECT_FALSE(ring.TryPush(Numbered(kMonitorRingSize)));

  ApplicationMonitorRing application;
  ASSERT_TRUE(application.Push(Numbered(9999)));
  EXPECT_EQ(application.TransferFrom(ring), kMonitorRingSize - 1) << "the last one finds the ring full";
  EXPECT_TRUE(ring.TryPush(Numbered(1))) << "the engine ring was emptied all the same";

  std::vector<MonitorEntry> taken;
  application.TakeAll(taken);
  ASSERT_EQ(taken.size(), kMonitorRingSize);
  EXPECT_EQ(taken[0].value, 9999u);
  EXPECT_EQ(taken[1].value, 0u);
  EXPECT_EQ(taken.back().value, kMonitorRingSize - 2);
  EXPECT_EQ(application.Count(), 0u);
}

TEST(MonitorRings, KeepOrderAcrossTheWrap) {
  EngineMonitorRing ring;
  ApplicationMonitorRing application;
  std::vector<MonitorEntry> taken;
  std::uint32_t next = 0;
  for (int round = 0; round < 4; ++round) {
    for (int i = 0; i < 1700; ++i) ASSERT_TRUE(ring.TryPush(Numbered(next++)));
    EXPECT_EQ(application.TransferFrom(ring), 1700u);
    application.TakeAll(taken);
    ASSERT_EQ(taken.size(), 1700u);
    for (std::size_t i = 0; i < taken.size(); ++i) ASSERT_EQ(taken[i].value, next - 1700 + i);
  }
}

}  // namespace
}  // namespace velvasto
