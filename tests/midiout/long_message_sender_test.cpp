#include "midiout/long_message_sender.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/errors.h"
#include "midiout/backends/recording_device.h"
#include "support/table_stream.h"

namespace velvasto {
namespace {

using Bytes = std::vector<std::uint8_t>;

class LongMessageSenderTest : public ::testing::Test {
 protected:
  LongMessageSenderTest() { device_.Open(); }

  std::ostringstream out_;
  RecordingDevice device_{"rec", PortId::B, std::make_shared<RecordSink>(out_)};
};

TEST_F(LongMessageSenderTest, SendsACopyStampedWithItsTime) {
  Bytes gsReset = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
  SendLongMessageSync(device_, PortId::B, gsReset, 1500, nullptr);
  EXPECT_EQ(out_.str(), "1500 B SYX F0 41 10 42 12 40 00 7F 00 41 F7\n");
}

TEST_F(LongMessageSenderTest, ADeviceThatNeverFinishesIsResetAndTheSendFailsWith1008) {
  device_.HoldLongMessages(true);
  const Bytes gm1On = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  try {
    SendLongMessageSync(device_, PortId::B, gm1On, 0, nullptr, std::chrono::milliseconds(20));
    FAIL() << "no time-out";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), 1008);
    EXPECT_EQ(e.Message(), "midiOutLongMsgでエラーが発生しました。");
  }
  EXPECT_EQ(device_.ResetCount(), 1);
}

TEST_F(LongMessageSenderTest, ARefusedMessageIsNotWaitedFor) {
  device_.Close();
  const Bytes gm1On = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  try {
    SendLongMessageSync(device_, PortId::B, gm1On, 0, nullptr);
    FAIL() << "sent to a closed device";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), 1008);
  }
  EXPECT_EQ(device_.ResetCount(), 0);
}

// F0 41 10 42 12 40 1p 15 vv sum F7: GS "use for rhythm part" of part block p.
Bytes UseForRhythmPart(std::uint8_t block, std::uint8_t value) {
  const std::uint8_t address = static_cast<std::uint8_t>(0x10 | block);
  const auto sum = static_cast<std::uint8_t>((0x80 - ((0x40 + address + 0x15 + value) & 0x7F)) & 0x7F);
  return {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, address, 0x15, value, sum, 0xF7};
}

TEST_F(LongMessageSenderTest, RhythmPartMessagesUpdateTheSongWhenDrumConversionIsOn) {
  SongSettings settings;
  settings.fix8850 = true;
  test::TableStream song(settings);
  EXPECT_EQ(UseForRhythmPart(1, 2), (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x15, 0x02, 0x18, 0xF7}));
  SendLongMessageSync(device_, PortId::B, UseForRhythmPart(1, 2), 0, &song);
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(0, 0), 0, &song);
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(0xA, 1), 0, &song);
  EXPECT_EQ(song.RhythmPart(PortId::B, 1), 2u);
  EXPECT_EQ(song.RhythmPart(PortId::A, 1), 0u);
  EXPECT_EQ(song.RhythmPart(PortId::A, 0), 0u);
  EXPECT_EQ(song.RhythmPart(PortId::A, 0xA), 1u);
  EXPECT_EQ(song.RhythmPart(PortId::B, 0), 1u);
}

TEST_F(LongMessageSenderTest, OtherMessagesLeaveTheRhythmPartsAlone) {
  SongSettings settings;
  settings.fix8850 = true;
  test::TableStream song(settings);
  Bytes otherParameter = UseForRhythmPart(2, 1);
  otherParameter[7] = 0x19;  // part level, not the rhythm-part switch
  Bytes otherDevice = UseForRhythmPart(2, 1);
  otherDevice[2] = 0x11;
  Bytes systemBlock = UseForRhythmPart(2, 1);
  systemBlock[6] = 0x02;
  Bytes truncated = UseForRhythmPart(2, 1);
  truncated.erase(truncated.begin() + 9);
  for (const Bytes& message :
       {otherParameter, otherDevice, systemBlock, truncated, UseForRhythmPart(2, 3)}) {
    SendLongMessageSync(device_, PortId::A, message, 0, &song);
  }
  SendLongMessageSync(device_, PortId::None, UseForRhythmPart(2, 1), 0, &song);
  EXPECT_EQ(song.RhythmPart(PortId::A, 2), 0u);
  EXPECT_EQ(song.RhythmPart(PortId::B, 2), 0u);

  test::TableStream switchedOff;
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(2, 1), 0, &switchedOff);
  EXPECT_EQ(switchedOff.RhythmPart(PortId::A, 2), 0u);
}

}  // namespace
}  // namespace velvasto
