// The dump form of records and sent messages, and the recorder that writes it. The command-line
// tests read recorded files and song dumps; these are the cases they do not reach.

#include "midiout/backends/recording_device.h"

#include <gtest/gtest.h>

#include <sstream>

#include "midiout/event_line.h"
#include "support/table_stream.h"
#include "port_fixture.h"

namespace velvasto::test {
namespace {

TEST(EventLineTest, ShortMessagesShowTheBytesTheirStatusCarriesAndMarkersTheirNumber) {
  // Program change and channel pressure carry one data byte, system common messages what their
  // status says; stray bits above are not shown.
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x643C90, "90 3C 64"}, {0x7F008F, "8F 00 7F"}, {0x4000E3, "E3 00 40"}, {0x5519C9, "C9 19"},
      {0x5540D0, "D0 40"},    {0x5512F1, "F1 12"},    {0x0201F2, "F2 01 02"}, {0x5505F3, "F3 05"},
      {0x5505F6, "F6"},       {0x5505FF, "FF"},
  };
  for (const auto& [message, bytes] : cases) {
    EXPECT_EQ(FormatShortLine(7, PortId::A, message), std::string("7 A MSG ") + bytes);
  }
  EXPECT_EQ(FormatShortLine(5'000'000'000, PortId::B, 0xFE), "5000000000 B MSG FE") << "times beyond 32 bits stay exact";
  TableStream stream;  // song dumps show the other kinds of record; markers only come from control blocks
  stream.Marker(600000, 3).End(1000000).Build();
  EXPECT_EQ(FormatEventLine(stream.Events()[0], stream), "600000 - MARK 3");
}

TEST(RecordingDeviceTest, AClosedRecorderRefusesSendsLikeAClosedPort) {
  std::ostringstream out;
  RecordingDevice device("rec", PortId::A, std::make_shared<RecordSink>(out));
  const std::uint8_t gm1On[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  LongMessage message{gm1On};
  ExpectError<CMMSystemErrMessage>([&] { device.SendShort(0x643C90, 0); }, 1007, "midiOutShortMsgでエラーが発生しました。");
  ExpectError<CMMSystemErrMessage>([&] { device.SendLong(message, 0); }, 1008, "midiOutLongMsgでエラーが発生しました。");
  device.Open();
  device.SendShort(0x643C90, 1041667);
  device.Close();
  EXPECT_THROW(device.SendShort(0x643C90, 0), CMMSystemErrMessage);
  EXPECT_EQ(out.str(), "1041667 A MSG 90 3C 64\n");
  const TempDir dir;
  EXPECT_THROW(RecordSink(dir.Path() / "missing" / "out.txt"), CSystemErrMessage) << "a file that cannot be made";
}

}  // namespace
}  // namespace velvasto::test
