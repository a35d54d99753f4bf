// Start, Stop, Seek with its chase, the master volume and the errors of the transport.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings_block.h"
#include "engine/reset_messages.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The short messages after the last device reset: what a chase sent.
std::vector<std::uint32_t> Chased(const FakeOutput& device) {
  const auto reset = std::ranges::find(device.log.rbegin(), device.log.rend(), Sent::Kind::Reset, &Sent::kind);
  return device.Shorts(static_cast<std::size_t>(device.log.rend() - reset));
}

TEST_F(EngineTest, StartSendsTheEnabledResetsToEachPortFiftyMillisecondsApart) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0xC0, 1).End(1'000).Build();
  Start(song, {127, {.cmReset = true, .gsReset = true, .xgSystemOn = true, .gm1SystemOn = true, .gm2SystemOn = true,
                     .gmSystemOff = true}});
  const std::vector<std::uint8_t> expected[] = {
      {0xF0, 0x41, 0x10, 0x16, 0x12, 0x7F, 0x00, 0x00, 0x00, 0x01, 0xF7},
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7},
  };
  ASSERT_EQ(portB.log.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(std::tie(portA.log[i].bytes, portA.log[i].clockUs, portB.log[i].bytes, portB.log[i].clockUs),
              std::tuple(expected[i], i * 50'000, expected[i], 300'000 + i * 50'000));
  }
  clock.AdvanceMs(kPeriodMs);
  EXPECT_EQ(portA.log.back().clockUs, 605'000u) << "the song starts after the last pause";
}

TEST(ResetSwitchesTest, EachSendSettingSwitchesOnItsOwnMessageOnly) {
  struct Case {
    int SettingsBlock::*setting;
    std::uint8_t model;    // byte 3: CM-64, GS, XG or the universal GM sub-ID
    std::uint8_t command;  // byte 4
  };
  const Case cases[] = {{&SettingsBlock::cmResetSend, 0x16, 0x12},
                        {&SettingsBlock::gsResetSend, 0x42, 0x12},
                        {&SettingsBlock::xgSystemOnSend, 0x4C, 0x00},
                        {&SettingsBlock::gm1SystemOnSend, 0x09, 0x01},
                        {&SettingsBlock::gm2SystemOnSend, 0x09, 0x03}};
  for (const Case& c : cases) {
    SettingsBlock settings;
    settings.*c.setting = 1;
    const auto messages = EnabledResetMessages(ResetSwitchesOf(settings, false));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(std::pair(messages[0][3], messages[0][4]), std::pair(c.model, c.command));
  }
  const auto off = EnabledResetMessages(ResetSwitchesOf(SettingsBlock{}, true));
  ASSERT_EQ(off.size(), 1u);
  EXPECT_EQ(off[0][4], 0x02) << "GM System Off comes from the application's flag";
}

// A one-port song without control blocks whose controller state at 2 s the chase rebuilds.
class ChaseTest : public EngineTest {
 protected:
  ChaseTest() {
    song.Short(0, PortId::A, 0xC0, 5).Short(0, PortId::A, 0xB0, 7, 90).Short(0, PortId::A, 0xB0, 11, 0x70);
    song.Short(0, PortId::A, 0xE0, 0x00, 0x50).Short(0, PortId::A, 0x90, 60, 100).Short(0, PortId::A, 0xB0, 7, 80);
    song.Short(0, PortId::A, 0xB0, 10, 0x30).Short(0, PortId::A, 0xB2, 7, 0x30).Short(0, PortId::A, 0x92, 60, 100);
    song.SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7}).Tempo(0, 96);
    song.Short(500'000, PortId::A, 0x80, 60).Short(500'000, PortId::A, 0xB0, 7, 70).Short(500'000, PortId::A, 0x91, 64, 1);
    song.Short(2'000'000, PortId::A, 0xC0, 6).Short(3'000'000, PortId::A, 0x90, 60, 100).End(5'000'000).Build();
  }
  EngineSong song;
};

// Channel 2 shows that a volume the song set before a channel's first note is kept, not replaced
// by the default volume.
TEST_F(ChaseTest, SendsStateChangesAtOnceAndEachChannelsLastVolumeExpressionAndBendOnce) {
  Start(song);
  engine.Seek(2);
  EXPECT_THAT(Chased(portA), ElementsAre(Msg(0xC0, 5), Msg(0xB0, 10, 0x30), Msg(0xB0, 7, 70), Msg(0xB0, 11, 0x70),
                                         Msg(0xE0, 0x00, 0x50), Msg(0xB1, 7, 100), Msg(0xB2, 7, 0x30)));
  EXPECT_EQ(std::ranges::count(portA.log, Sent::Kind::Long, &Sent::kind), 1u);
  EXPECT_EQ(portA.log[64 + 1].clockUs, 100'000u) << "the chase waits 100 ms after the reset";
  EXPECT_EQ(clock.NowUs(), 100'000u + 2 * 3'000 + 50'000 + 5 * 3'000) << "paced for an external port";
  EXPECT_EQ(engine.TempoBpm(), 96u);
  EXPECT_EQ(TakeMonitor().size(), 6u) << "master volume, tempo, volumes and expression";

  engine.SetMasterVolume(64);
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(portA.Shorts(64 + 1 + 8), ElementsAre(Msg(0xB0, 7, 35), Msg(0xB1, 7, 50), Msg(0xB2, 7, 24), Msg(0xC0, 6)))
      << "the master volume scales the chased volumes; the record at the target plays on";
}

TEST_F(ChaseTest, SeekOnlyResetsWhenPausedEndsPastTheEndAndDoesNothingWhenStopped) {
  portA.needsPacing = false;
  Start(song);
  clock.AdvanceMs(10);
  engine.Pause();
  const std::size_t paused = portA.log.size();
  engine.Seek(2);
  EXPECT_EQ(portA.log[paused].kind, Sent::Kind::Reset) << "no second sound-off";
  EXPECT_EQ(clock.NowUs(), 10'000u + 100'000) << "no pauses in the chase for a device that needs none";
  clock.AdvanceMs(100);
  EXPECT_EQ(engine.SongTimeUs(), 2'000'000u) << "still paused";
  engine.Resume();
  clock.AdvanceMs(kPeriodMs);
  EXPECT_EQ(portA.log.back().message, Msg(0xC0, 6));

  engine.Seek(60);
  clock.AdvanceMs(20);
  EXPECT_EQ(sink.WParams(UM_SONG_END).size(), 1u);
  engine.Stop();
  const std::size_t stopped = portA.log.size();
  engine.Seek(2);
  engine.Pause();
  engine.Resume();
  EXPECT_EQ(portA.log.size(), stopped);
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Stopped);
}

// The device resets of each operation, in order, from log entry `from` on.
std::vector<Sent::Kind> Resets(const FakeOutput& device, std::size_t from) {
  std::vector<Sent::Kind> kinds;
  for (std::size_t i = from; i < device.log.size(); ++i) {
    if (device.log[i].kind == Sent::Kind::Reset || device.log[i].kind == Sent::Kind::ControllerReset) {
      kinds.push_back(device.log[i].kind);
    }
  }
  return kinds;
}

// A forward seek keeps the controllers the song set before the old position; a backward one,
// which replays the song from its start, first returns them to their defaults, as Stop does for
// the next start.
TEST_F(ChaseTest, ControllersGoBackToTheirDefaultsOnStopAndBeforeABackwardChaseOnly) {
  portA.needsPacing = false;
  Start(song);
  clock.AdvanceMs(1'000);
  std::size_t from = portA.log.size();
  engine.Seek(3);
  EXPECT_THAT(Resets(portA, from), ElementsAre(Sent::Kind::Reset));
  from = portA.log.size();
  engine.Seek(2);
  EXPECT_THAT(Resets(portA, from), ElementsAre(Sent::Kind::Reset, Sent::Kind::ControllerReset));
  EXPECT_THAT(Chased(portA), ElementsAre(Msg(0xC0, 5), Msg(0xB0, 10, 0x30), Msg(0xB0, 7, 70), Msg(0xB0, 11, 0x70),
                                         Msg(0xE0, 0x00, 0x50), Msg(0xB2, 7, 0x30)))
      << "the chase comes after both (channel 2 had its default volume when it played)";
  from = portA.log.size();
  engine.Stop();
  EXPECT_THAT(Resets(portA, from), ElementsAre(Sent::Kind::Reset, Sent::Kind::ControllerReset));
}

// A CM6 block of two messages ahead of the song proper, which starts at 1.6 s.
TEST_F(EngineTest, SeekLeavesControlBlocksBehindAndNeverSendsThemAgain) {
  EngineSong song;
  song.Block(CMIDIStream::kCm6Block, 4, 1'600'000);
  song.Marker(0, kMarkerCm6Begin).SysEx(0, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
  song.SysEx(100'000, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).Marker(1'600'000, kMarkerCm6End);
  song.Short(1'600'000, PortId::A, 0xC0, 1).Short(1'600'000, PortId::A, 0x90, 60, 100).End(9'000'000).Build();
  Start(song);
  clock.AdvanceMs(10);  // inside the CM6 block
  engine.Seek(2);
  EXPECT_EQ(TakeMonitor().back().kind, MonitorKind::Cm6End) << "the progress display is closed";
  EXPECT_THAT(Chased(portA), ElementsAre(Msg(0xC0, 1))) << "no default volume in songs with control blocks";
  clock.AdvanceMs(1'100);
  EXPECT_THAT(sink.WParams(UM_TIME_UPDATE), ElementsAre(2u)) << "positions count from the song proper";

  engine.Seek(1);
  EXPECT_THAT(Chased(portA), ElementsAre(Msg(0xC0, 1))) << "backwards from the song proper";
  engine.Seek(0);
  EXPECT_THAT(Chased(portA), IsEmpty()) << "to 0 only moves to the song proper";
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(Chased(portA), ElementsAre(Msg(0xC0, 1), Msg(0x90, 60, 100)));
  EXPECT_EQ(std::ranges::count(portA.log, Sent::Kind::Long, &Sent::kind), 2u) << "the block's first, then the chase's";
}

TEST_F(EngineTest, TransportFailuresThrowTheCodeOfTheFailingCall) {
  TableStream unloaded;
  ExpectError<CErrMessage>([&] { Start(unloaded); }, 6, "データが読み込まれていません。");
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).End(5'000'000).Build();
  Start(song);
  portA.failReset = true;
  ExpectError<CMMSystemErrMessage>([&] { engine.Stop(); }, 1013, "midiOutResetでエラーが発生しました");
  portA.failReset = false;
  portA.failLong = true;
  ExpectError<CMMSystemErrMessage>([&] { Start(song, {127, {.gsReset = true}}); }, 1008,
                                   "midiOutLongMsgでエラーが発生しました。");
}

}  // namespace
}  // namespace velvasto::test
