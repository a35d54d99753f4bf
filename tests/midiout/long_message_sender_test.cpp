#include "midiout/long_message_sender.h"

#include <gtest/gtest.h>

#include <sstream>

#include "midiout/backends/recording_device.h"
#include "port_fixture.h"
#include "support/table_stream.h"

namespace velvasto::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class LongMessageSenderTest : public ::testing::Test {
 protected:
  LongMessageSenderTest() { device_.Open(); }

  std::ostringstream out_;
  RecordingDevice device_{"rec", PortId::B, std::make_shared<RecordSink>(out_)};
};

TEST_F(LongMessageSenderTest, ADeviceThatNeverFinishesIsResetAndARefusingOneNotWaitedFor) {
  const Bytes gm1On = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  SendLongMessageSync(device_, PortId::B, gm1On, 1500, nullptr);
  EXPECT_EQ(out_.str(), "1500 B SYX F0 7E 7F 09 01 F7\n");
  device_.HoldLongMessages(true);
  ExpectError<CMMSystemErrMessage>([&] { SendLongMessageSync(device_, PortId::B, gm1On, 0, nullptr, 20ms); }, 1008,
                                   "midiOutLongMsgでエラーが発生しました。");
  EXPECT_EQ(device_.ResetCount(), 1);
  device_.Close();
  EXPECT_THROW(SendLongMessageSync(device_, PortId::B, gm1On, 0, nullptr), CMMSystemErrMessage);
  EXPECT_EQ(device_.ResetCount(), 1);
}

// F0 41 10 42 12 40 1p 15 vv sum F7: GS "use for rhythm part" of part block p.
Bytes UseForRhythmPart(std::uint8_t block, std::uint8_t value) {
  const std::uint8_t address = static_cast<std::uint8_t>(0x10 | block);
  const auto sum = static_cast<std::uint8_t>((0x80 - ((0x40 + address + 0x15 + value) & 0x7F)) & 0x7F);
  return {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, address, 0x15, value, sum, 0xF7};
}

TEST_F(LongMessageSenderTest, RhythmPartMessagesUpdateTheSongOfTheirPortWhenDrumConversionIsOn) {
  TableStream song(SongSettings{.fix8850 = true});
  SendLongMessageSync(device_, PortId::B, UseForRhythmPart(1, 2), 0, &song);
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(0, 0), 0, &song);
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(0xA, 1), 0, &song);
  EXPECT_EQ(std::tuple(song.RhythmPart(PortId::B, 1), song.RhythmPart(PortId::A, 1), song.RhythmPart(PortId::A, 0),
                       song.RhythmPart(PortId::A, 0xA), song.RhythmPart(PortId::B, 0)),
            std::tuple(2u, 0u, 0u, 1u, 1u));

  const Bytes drums = UseForRhythmPart(2, 1);
  const auto with = [&](std::size_t at, std::uint8_t byte) {
    Bytes changed = drums;
    changed[at] = byte;
    return changed;
  };
  // Part level instead of the rhythm-part switch, another device, the system block, a message cut
  // short, a value that does not exist.
  for (const Bytes& message : {with(7, 0x19), with(2, 0x11), with(6, 0x02), Bytes(drums.begin(), drums.begin() + 10),
                               UseForRhythmPart(2, 3)}) {
    SendLongMessageSync(device_, PortId::A, message, 0, &song);
  }
  SendLongMessageSync(device_, PortId::None, drums, 0, &song);
  EXPECT_EQ(song.RhythmPart(PortId::A, 2) + song.RhythmPart(PortId::B, 2), 0u) << "other messages leave them alone";

  TableStream switchedOff;
  SendLongMessageSync(device_, PortId::A, UseForRhythmPart(2, 1), 0, &switchedOff);
  EXPECT_EQ(switchedOff.RhythmPart(PortId::A, 2), 0u);
}

}  // namespace
}  // namespace velvasto::test
