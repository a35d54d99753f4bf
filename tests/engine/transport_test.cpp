// Start, Stop, Pause, Seek with its chase, and the master volume.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "engine/reporting_transport.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

const Bytes kGsMasterVolume{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7};

std::vector<Bytes> Longs(const FakeOutput& device) {
  std::vector<Bytes> longs;
  for (const Sent& sent : device.Log()) {
    if (sent.kind == Sent::Kind::Long) longs.push_back(sent.bytes);
  }
  return longs;
}

std::vector<std::uint64_t> LongClockTimes(const FakeOutput& device) {
  std::vector<std::uint64_t> times;
  for (const Sent& sent : device.Log()) {
    if (sent.kind == Sent::Kind::Long) times.push_back(sent.clockUs);
  }
  return times;
}

// The sound-off sequence of one port.
std::vector<std::uint32_t> SoundOff() {
  std::vector<std::uint32_t> messages;
  for (std::uint32_t channel = 0; channel < 16; ++channel) {
    for (const std::uint32_t controller : {64u, 66u, 123u, 120u}) messages.push_back(Msg(0xB0 | channel, controller));
  }
  return messages;
}

// Index of the last device reset in the log; the chase follows it.
std::size_t AfterLastReset(const FakeOutput& device) {
  const auto log = device.Log();
  std::size_t after = 0;
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i].kind == Sent::Kind::Reset) after = i + 1;
  }
  return after;
}

TEST_F(EngineTest, StartSendsTheEnabledResetsToEachPortFiftyMillisecondsApart) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0xC0, 1).End(1'000);
  song.Build();
  Start(song, {.masterVolume = 127,
               .resets = {.cmReset = true,
                          .gsReset = true,
                          .xgSystemOn = true,
                          .gm1SystemOn = true,
                          .gm2SystemOn = true,
                          .gmSystemOff = true}});
  const std::vector<Bytes> expected{
      {0xF0, 0x41, 0x10, 0x16, 0x12, 0x7F, 0x00, 0x00, 0x00, 0x01, 0xF7},
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7},
      {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7},
  };
  EXPECT_EQ(Longs(portA), expected);
  EXPECT_EQ(Longs(portB), expected);
  EXPECT_THAT(LongClockTimes(portA), ElementsAre(0, 50'000, 100'000, 150'000, 200'000, 250'000));
  EXPECT_THAT(LongClockTimes(portB), ElementsAre(300'000, 350'000, 400'000, 450'000, 500'000, 550'000));

  clock.AdvanceMs(kPeriodMs);
  ASSERT_EQ(portA.Log().back().kind, Sent::Kind::Short);
  EXPECT_EQ(portA.Log().back().clockUs, 605'000u) << "the song starts after the last pause";
}

TEST_F(EngineTest, StartSendsOnlyTheSwitchesThatAreOn) {
  EngineSong song;
  song.End(1'000);
  song.Build();
  Start(song, {.masterVolume = 127, .resets = {.xgSystemOn = true, .gmSystemOff = true}});
  EXPECT_EQ(Longs(portA), (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},
                                              {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7}}));
}

TEST_F(EngineTest, StopSilencesThenResetsEveryPortAndEndsTheWorker) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0xC0, 1).End(1'000'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(10);
  portA.ClearLog();
  portB.ClearLog();
  engine.Stop();
  for (const FakeOutput* port : {&portA, &portB}) {
    EXPECT_EQ(port->Shorts(), SoundOff());
    EXPECT_EQ(port->Log().back().kind, Sent::Kind::Reset);
    EXPECT_EQ(port->LogSize(), SoundOff().size() + 1);
  }
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Stopped);
  EXPECT_FALSE(dispatchTimer.Running());
  EXPECT_FALSE(workerTimer.Running());
  engine.Stop();
  EXPECT_EQ(portA.LogSize(), SoundOff().size() + 1) << "stopping twice sends nothing more";
}

TEST_F(EngineTest, PauseSilencesTheSongAndKeepsItsPlace) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).Short(20'000, PortId::A, 0xC0, 2).End(1'000'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(10);
  const std::size_t before = portA.LogSize();
  engine.Pause();
  EXPECT_EQ(portA.Shorts(before), SoundOff());
  EXPECT_EQ(portA.LogSize(), before + SoundOff().size()) << "no device reset";
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Paused);
  EXPECT_EQ(engine.SongTimeUs(), 10'000u);
}

// A one-port song without control blocks whose controller state at 2 s the chase rebuilds.
class ChaseTest : public EngineTest {
 protected:
  ChaseTest() {
    song.Short(0, PortId::A, 0xC0, 5)
        .Short(0, PortId::A, 0xB0, 7, 90)
        .Short(0, PortId::A, 0xB0, 11, 0x70)
        .Short(0, PortId::A, 0xE0, 0x00, 0x50)
        .Short(0, PortId::A, 0x90, 60, 100)
        .Short(0, PortId::A, 0xB0, 7, 80)
        .Short(0, PortId::A, 0xB0, 10, 0x30)
        .Short(0, PortId::A, 0xB2, 7, 0x30)
        .Short(0, PortId::A, 0x92, 60, 100)
        .SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7})
        .Tempo(0, 96)
        .Short(500'000, PortId::A, 0x80, 60, 0)
        .Short(500'000, PortId::A, 0xB0, 7, 70)
        .Short(500'000, PortId::A, 0x91, 64, 100)
        .Short(2'000'000, PortId::A, 0xC0, 6)
        .Short(3'000'000, PortId::A, 0x90, 60, 100)
        .End(5'000'000);
    song.Build();
  }
  EngineSong song;
};

// Channel 2 shows that a volume the song set before a channel's first note is kept, not replaced
// by the default volume.
TEST_F(ChaseTest, SendsStateChangesAtOnceAndEachChannelsLastVolumeExpressionAndBendOnce) {
  Start(song);
  const std::uint64_t before = clock.NowUs();
  engine.Seek(2);

  const std::size_t chase = AfterLastReset(portA);
  EXPECT_EQ(portA.Shorts(0), [] {
    auto expected = SoundOff();  // the song was playing
    for (const std::uint32_t message : {Msg(0xC0, 5), Msg(0xB0, 10, 0x30), Msg(0xB0, 7, 70), Msg(0xB0, 11, 0x70),
                                        Msg(0xE0, 0x00, 0x50), Msg(0xB1, 7, 100), Msg(0xB2, 7, 0x30)}) {
      expected.push_back(message);
    }
    return expected;
  }());
  EXPECT_EQ(Longs(portA), std::vector<Bytes>{kGsMasterVolume});
  const auto log = portA.Log();
  ASSERT_GT(log.size(), chase);
  EXPECT_EQ(log[chase].clockUs, before + 100'000) << "the chase waits 100 ms after the reset";
  EXPECT_EQ(clock.NowUs() - before, 100'000u + 2 * 3'000 + 50'000 + 5 * 3'000) << "paced for an external port";
  EXPECT_EQ(engine.SongTimeUs(), 2'000'000u);
  EXPECT_EQ(engine.PositionSeconds(), 2u);
  EXPECT_EQ(engine.TempoBpm(), 96u);

  const auto entries = TakeMonitor();
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[0].kind, MonitorKind::MasterVolume);
  EXPECT_EQ(entries[1].kind, MonitorKind::Tempo);
  EXPECT_EQ(entries[2].kind, MonitorKind::Volume);
  EXPECT_EQ(entries[2].value, 70u);
  EXPECT_EQ(entries[3].kind, MonitorKind::Expression);
  EXPECT_EQ(entries[4].channel, 1);
  EXPECT_EQ(sink.All().back(), (Posted{UM_MONITOR_EVENTS, 0, 0}));

  const std::size_t resumed = portA.LogSize();
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(portA.Shorts(resumed), ElementsAre(Msg(0xC0, 6))) << "the record at the target plays on";
}

TEST_F(ChaseTest, IsNotPacedForDevicesThatNeedNoPause) {
  portA.needsPacing = false;
  Start(song);
  const std::uint64_t before = clock.NowUs();
  engine.Seek(2);
  EXPECT_EQ(clock.NowUs() - before, 100'000u);
}

TEST_F(ChaseTest, MasterVolumeAfterASeekScalesTheChasedVolumes) {
  Start(song);
  engine.Seek(2);
  const std::size_t before = portA.LogSize();
  engine.SetMasterVolume(64);
  EXPECT_THAT(portA.Shorts(before), ElementsAre(Msg(0xB0, 7, 70 * 64 / 127), Msg(0xB1, 7, 100 * 64 / 127),
                                                Msg(0xB2, 7, 0x30 * 64 / 127)));
}

TEST_F(ChaseTest, SeekToTheCurrentTimeDoesNothing) {
  Start(song);
  engine.Seek(0);
  EXPECT_EQ(portA.LogSize(), 0u);
  clock.AdvanceMs(kPeriodMs);
  EXPECT_GT(portA.LogSize(), 0u) << "the timer kept running";
}

TEST_F(ChaseTest, SeekWhilePausedOnlyResetsAndStaysPaused) {
  Start(song);
  clock.AdvanceMs(10);
  engine.Pause();
  const std::size_t paused = portA.LogSize();
  engine.Seek(2);
  const auto log = portA.Log();
  EXPECT_EQ(log[paused].kind, Sent::Kind::Reset) << "no second sound-off";
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Paused);
  const std::size_t seeked = portA.LogSize();
  clock.AdvanceMs(100);
  EXPECT_EQ(portA.LogSize(), seeked);
  engine.Resume();
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(portA.Shorts(seeked), ElementsAre(Msg(0xC0, 6)));
}

TEST_F(ChaseTest, SeekPastTheEndEndsTheSong) {
  Start(song);
  engine.Seek(60);
  clock.AdvanceMs(20);
  EXPECT_EQ(sink.Count(UM_SONG_END), 1u);
}

TEST_F(EngineTest, SeekIsIgnoredWhileStopped) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).End(5'000'000);
  song.Build();
  Start(song);
  engine.Stop();
  portA.ClearLog();
  engine.Seek(2);
  engine.Pause();
  engine.Resume();
  EXPECT_EQ(portA.LogSize(), 0u);
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Stopped);
}

// A song with a CM6 block of two messages ahead of the song proper, which starts at 0.6 s.
class ControlBlockSeekTest : public EngineTest {
 protected:
  ControlBlockSeekTest() {
    song.Tempo(0, 120)
        .Marker(0, kMarkerCm6Begin)
        .SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10, 0x00, 0x00, 0x00, 0x70, 0xF7})
        .SysEx(100'000, PortId::A, {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10, 0x00, 0x01, 0x00, 0x6F, 0xF7})
        .Marker(600'000, kMarkerCm6End)
        .Short(600'000, PortId::A, 0xC0, 1)
        .Short(1'600'000, PortId::A, 0xC0, 2)
        .Short(2'600'000, PortId::A, 0xC0, 3)
        .End(5'000'000);
    song.Block(CMIDIStream::kCm6Block, 5, 600'000);
    song.Build();
  }
  EngineSong song;
};

TEST_F(ControlBlockSeekTest, BackwardsReplaysTheSongProperNeverTheBlocks) {
  Start(song);
  clock.AdvanceMs(2'700);
  ASSERT_EQ(Longs(portA).size(), 2u);
  engine.Seek(1);
  EXPECT_THAT(portA.Shorts(AfterLastReset(portA)), ElementsAre(Msg(0xC0, 1)));
  EXPECT_EQ(Longs(portA).size(), 2u);
  EXPECT_EQ(engine.SongTimeUs(), 1'600'000u);
}

TEST_F(ControlBlockSeekTest, ToZeroOnlyMovesToTheSongProper) {
  Start(song);
  clock.AdvanceMs(2'700);
  engine.Seek(0);
  EXPECT_THAT(portA.Shorts(AfterLastReset(portA)), IsEmpty());
  EXPECT_EQ(engine.SongTimeUs(), 600'000u);
  const std::size_t before = portA.LogSize();
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(portA.Shorts(before), ElementsAre(Msg(0xC0, 1)));
}

TEST_F(ControlBlockSeekTest, DuringABlockLeavesTheBlockBehind) {
  Start(song);
  clock.AdvanceMs(10);  // inside the CM6 block
  TakeMonitor();
  engine.Seek(2);
  const auto entries = TakeMonitor();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0].kind, MonitorKind::Cm6End) << "the progress display is closed";
  clock.AdvanceMs(1'100);
  EXPECT_THAT(sink.WParams(UM_TIME_UPDATE), ElementsAre(2u)) << "positions are posted again";
}

TEST_F(EngineTest, MasterVolumeResendsOnlyTheVolumesTheSongSet) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0xB3, 7, 100).Short(0, PortId::B, 0xB4, 7, 127).End(5'000'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(10);
  TakeMonitor();
  const std::size_t beforeA = portA.LogSize();
  const std::size_t beforeB = portB.LogSize();
  sink.Clear();
  engine.SetMasterVolume(64);
  EXPECT_THAT(portA.Shorts(beforeA), ElementsAre(Msg(0xB3, 7, 50)));
  EXPECT_THAT(portB.Shorts(beforeB), ElementsAre(Msg(0xB4, 7, 64)));
  const auto entries = TakeMonitor();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].port, 1u);
  EXPECT_EQ(entries[1].value, 64u);
  EXPECT_THAT(sink.All(), ElementsAre(Posted{UM_MONITOR_EVENTS, 0, 0}));
  EXPECT_EQ(engine.MasterVolume(), 64u);
}

TEST_F(EngineTest, TransportFailuresThrowTheCodeOfTheFailingCall) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).End(5'000'000);
  song.Build();
  Start(song);
  portA.failReset = true;
  try {
    engine.Stop();
    FAIL() << "Stop succeeded";
  } catch (const CMMSystemErrMessage& error) {
    EXPECT_EQ(error.Code(), 1013);
    EXPECT_EQ(error.Message(), "midiOutResetでエラーが発生しました");
  }

  portA.failReset = false;
  portA.failLong = true;
  try {
    Start(song, {.masterVolume = 127, .resets = {.gsReset = true}});
    FAIL() << "Start succeeded";
  } catch (const CMMSystemErrMessage& error) {
    EXPECT_EQ(error.Code(), 1008);
    EXPECT_EQ(error.Message(), "midiOutLongMsgでエラーが発生しました。");
  }
}

class ShownErrors final : public ErrorReporter {
 public:
  void ShowError(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

TEST_F(EngineTest, ReportingTransportShowsTheErrorAndThrowsItOn) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).End(5'000'000);
  song.Build();
  ShownErrors errors;
  ReportingTransport transport(engine, errors);
  transport.Start(song, portA, nullptr, sink, {});
  portA.failShortFrom = 0;
  EXPECT_THROW(transport.Pause(), CMMSystemErrMessage);
  EXPECT_THAT(errors.shown, ElementsAre("midiOutShortMsgでエラーが発生しました。"));
}

TEST_F(EngineTest, StartRefusesASongWithoutATable) {
  struct Unloaded final : CMIDIStream {
    Unloaded() : CMIDIStream(SongSettings{}) {}
    SongInfo Info() const override { return {}; }
    bool CountPass() override { return true; }
    std::uint32_t RecordCountOfCountPass() const override { return 0; }
    void FillPass() override {}
  } unloaded;
  try {
    engine.Start(unloaded, portA, nullptr, sink, {});
    FAIL() << "Start succeeded";
  } catch (const CErrMessage& error) {
    EXPECT_EQ(error.Code(), 6);
    EXPECT_EQ(error.Message(), "データが読み込まれていません。");
  }
}

}  // namespace
}  // namespace velvasto::test
