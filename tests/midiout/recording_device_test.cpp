#include "midiout/backends/recording_device.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

TEST(RecordingDeviceTest, BothPortsRecordIntoOneSinkInSendOrder) {
  std::ostringstream out;
  auto sink = std::make_shared<RecordSink>(out);
  RecordingDevice a("rec A", PortId::A, sink);
  RecordingDevice b("rec B", PortId::B, sink);
  a.Open();
  b.Open();
  const std::uint8_t gm1On[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  LongMessage message{gm1On};
  b.SendLong(message, 0);
  a.SendShort(0x643C90, 1041667);
  b.SendShort(0x0005C1, 1041667);
  EXPECT_TRUE(message.done);
  EXPECT_EQ(out.str(),
            "0 B SYX F0 7E 7F 09 01 F7\n"
            "1041667 A MSG 90 3C 64\n"
            "1041667 B MSG C1 05\n");
}

TEST(RecordingDeviceTest, AClosedRecorderRefusesSendsLikeAClosedPort) {
  std::ostringstream out;
  RecordingDevice device("rec", PortId::A, std::make_shared<RecordSink>(out));
  try {
    device.SendShort(0x643C90, 0);
    FAIL() << "short message accepted";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), mmerr::kShortMsg);
    EXPECT_EQ(e.Message(), "midiOutShortMsgでエラーが発生しました。");
  }
  const std::uint8_t bytes[] = {0xF0, 0xF7};
  LongMessage message{bytes};
  try {
    device.SendLong(message, 0);
    FAIL() << "long message accepted";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Message(), "midiOutLongMsgでエラーが発生しました。");
  }
  device.Open();
  device.Close();
  EXPECT_THROW(device.SendShort(0x643C90, 0), CMMSystemErrMessage);
  EXPECT_EQ(out.str(), "");
}

TEST(RecordingDeviceTest, HeldLongMessagesStayInFlightUntilCompletedOrReset) {
  std::ostringstream out;
  RecordingDevice device("rec", PortId::A, std::make_shared<RecordSink>(out));
  device.Open();
  device.HoldLongMessages(true);
  const std::uint8_t bytes[] = {0xF0, 0x41, 0xF7};
  LongMessage first{bytes};
  LongMessage second{bytes};
  device.SendLong(first, 0);
  EXPECT_FALSE(first.done);
  device.CompleteLongMessages();
  EXPECT_TRUE(first.done);
  device.SendLong(second, 10);
  EXPECT_FALSE(second.done);
  EXPECT_EQ(device.ResetCount(), 0);
  device.Reset();
  EXPECT_TRUE(second.done);
  EXPECT_EQ(device.ResetCount(), 1);
  EXPECT_EQ(out.str(), "0 A SYX F0 41 F7\n10 A SYX F0 41 F7\n");
}

TEST(RecordingDeviceTest, FileSinkWritesLinesAndReportsAnUnwritablePath) {
  test::TempDir dir;
  const auto path = dir.Path() / "out.txt";
  {
    RecordingDevice device("rec", PortId::B, std::make_shared<RecordSink>(path));
    device.Open();
    device.SendShort(0x7F4080, 250);
  }
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "250 B MSG 80 40 7F\n");
  EXPECT_THROW(RecordSink(dir.Path() / "missing" / "out.txt"), CSystemErrMessage);
}

}  // namespace
}  // namespace velvasto
