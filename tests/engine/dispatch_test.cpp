// The timer callback: what goes out when, catch-up, System Exclusive holds, channel volumes,
// end and error notifications.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(EngineTest, LateCallbackSendsEverythingDueInOneRunAndAdvancesExactly) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1)
      .Short(10'000, PortId::A, 0xB0, 10, 64)
      .Short(49'000, PortId::A, 0xB0, 10, 65)
      .Short(49'000, PortId::A, 0xB0, 10, 66)
      .Short(50'000, PortId::A, 0xB0, 10, 67)
      .Short(50'001, PortId::A, 0xB0, 10, 68)
      .End(90'000);
  song.Build();
  Start(song);
  EXPECT_THAT(portA.Shorts(), IsEmpty()) << "nothing goes out before the first callback";

  clock.SleepMs(50);  // the timer comes 50 ms late
  dispatchTimer.Fire();

  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 1), Msg(0xB0, 10, 64), Msg(0xB0, 10, 65), Msg(0xB0, 10, 66),
                                          Msg(0xB0, 10, 67)));
  EXPECT_EQ(engine.SongTimeUs(), 50'000u);
  for (const Sent& sent : portA.Log()) EXPECT_EQ(sent.clockUs, 50'000u) << "all in one run";
}

TEST_F(EngineTest, RecordAtTimeZeroGoesWithTheFirstCallback) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 7).Short(5'000, PortId::A, 0xC0, 8).Short(5'001, PortId::A, 0xC0, 9).End(20'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(kPeriodMs - 1);
  EXPECT_THAT(portA.Shorts(), IsEmpty());
  clock.AdvanceMs(1);
  // Everything up to the clock's current millisecond goes out.
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 7), Msg(0xC0, 8)));
  EXPECT_EQ(engine.SongTimeUs(), 5'000u);
  clock.AdvanceMs(kPeriodMs);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 7), Msg(0xC0, 8), Msg(0xC0, 9)));
}

TEST_F(EngineTest, SysExHoldsTheSongUntilItsDeviceIsDoneThenCatchesUp) {
  portA.holdLongMessages = true;
  EngineSong song;
  song.SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .Short(0, PortId::A, 0xC0, 5)
      .Short(0, PortId::A, 0xB0, 10, 64)
      .Short(20'000, PortId::A, 0xC0, 6)
      .End(100'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(5);
  ASSERT_EQ(portA.LogSize(), 1u);
  EXPECT_EQ(portA.Log()[0].kind, Sent::Kind::Long);

  clock.AdvanceMs(5);
  EXPECT_EQ(portA.LogSize(), 1u) << "notes at the time of the SysEx wait for it";
  EXPECT_EQ(engine.SongTimeUs(), 0u);

  portA.FinishHeld();
  clock.AdvanceMs(5);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 5), Msg(0xB0, 10, 64)));
  EXPECT_EQ(engine.SongTimeUs(), 15'000u) << "the wait is made up";
  clock.AdvanceMs(5);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 5), Msg(0xB0, 10, 64), Msg(0xC0, 6)));
  EXPECT_EQ(portA.Log().back().clockUs, 20'000u);
}

TEST_F(EngineTest, DefaultVolumeGoesBeforeEachChannelsFirstNoteOncePerPortAndStart) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0x90, 60, 100)
      .Short(0, PortId::A, 0x80, 60, 0)
      .Short(1'000, PortId::A, 0x90, 62, 100)
      .Short(1'000, PortId::A, 0x91, 60, 90)
      .Short(2'000, PortId::B, 0x90, 60, 100)
      .Short(3'000, PortId::A, 0xB2, 7, 80)
      .Short(4'000, PortId::A, 0x92, 60, 100)
      .End(10'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(20);
  const auto expectedA = ElementsAre(Msg(0xB0, 7, 100), Msg(0x90, 60, 100), Msg(0x80, 60), Msg(0x90, 62, 100),
                                     Msg(0xB1, 7, 100), Msg(0x91, 60, 90), Msg(0xB2, 7, 80), Msg(0x92, 60, 100));
  EXPECT_THAT(portA.Shorts(), expectedA);
  EXPECT_THAT(portB.Shorts(), ElementsAre(Msg(0xB0, 7, 100), Msg(0x90, 60, 100)));

  engine.Stop();
  portA.ClearLog();
  Start(song);
  clock.AdvanceMs(20);
  EXPECT_THAT(portA.Shorts(), expectedA) << "each Start begins with no channel volume known";
}

TEST_F(EngineTest, NoDefaultVolumeInSongsWithControlBlocks) {
  EngineSong song;
  song.Marker(0, kMarkerCm6Begin)
      .Marker(1'000, kMarkerCm6End)
      .Short(1'000, PortId::A, 0x90, 60, 100)
      .End(5'000);
  song.Block(CMIDIStream::kCm6Block, 2, 1'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(10);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0x90, 60, 100)));
}

TEST_F(EngineTest, MasterVolumeScalesEveryChannelVolumeSentAndShown) {
  EngineSong song;
  song.Short(0, PortId::A, 0xB0, 7, 127).Short(0, PortId::A, 0xB1, 7, 100).Short(0, PortId::A, 0x92, 60, 100).End(1'000);
  song.Build();
  Start(song, {.masterVolume = 64, .resets = {}});
  clock.AdvanceMs(10);
  EXPECT_THAT(portA.Shorts(),
              ElementsAre(Msg(0xB0, 7, 64), Msg(0xB1, 7, 50), Msg(0xB2, 7, 50), Msg(0x92, 60, 100)));

  const auto entries = TakeMonitor();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].kind, MonitorKind::Volume);
  EXPECT_EQ(entries[0].value, 64u) << "the monitor shows the value actually sent";
  EXPECT_EQ(entries[1].value, 50u);
  EXPECT_EQ(entries[2].channel, 2);
  EXPECT_EQ(entries[3].kind, MonitorKind::NoteOn);
}

TEST_F(EngineTest, OnePortSongNeverReachesPortBNorRecordsWithoutPort) {
  EngineSong song(1);
  song.Short(0, PortId::B, 0xC0, 1, 0).Short(0, PortId::None, 0xC0, 2, 0).Short(0, PortId::A, 0xC0, 3).End(1'000);
  song.Build();
  Start(song, {.masterVolume = 127, .resets = {.gsReset = true}});
  clock.AdvanceMs(10);
  engine.Stop();
  EXPECT_EQ(portB.LogSize(), 0u) << "no reset, song data, sound-off or device reset";
  EXPECT_THAT(portA.Shorts(1), testing::Contains(Msg(0xC0, 3)));
  EXPECT_THAT(portA.Shorts(1), testing::Not(testing::Contains(Msg(0xC0, 1))));
}

TEST_F(EngineTest, SongEndIsPostedOnceAfterItsMonitorEntries) {
  EngineSong song;
  song.Short(0, PortId::A, 0x90, 60, 100).Short(2'000, PortId::A, 0x80, 60, 0).End(3'000).Short(3'000, PortId::A, 0xC0, 1);
  song.Build();
  Start(song);
  clock.AdvanceMs(50);

  const auto posted = sink.All();
  ASSERT_FALSE(posted.empty());
  EXPECT_EQ(posted.back(), (Posted{UM_SONG_END, 0, 0}));
  EXPECT_EQ(sink.Count(UM_SONG_END), 1u);
  EXPECT_EQ(posted.front(), (Posted{UM_MONITOR_EVENTS, 0, 0})) << "the entries are announced before the end";
  EXPECT_EQ(TakeMonitor().size(), 3u);
  EXPECT_EQ(engine.GetState(), PlaybackEngine::State::Playing) << "the owner stops the song";
}

TEST_F(EngineTest, FailedShortSendReportsOnceAndEndsSending) {
  portA.failShortFrom = 2;
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).Short(0, PortId::A, 0xC0, 2).Short(0, PortId::A, 0xC0, 3).Short(5'000, PortId::A, 0xC0, 4).End(10'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(50);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 1), Msg(0xC0, 2)));
  EXPECT_THAT(sink.All(), testing::Contains(Posted{UM_ENGINE_ERROR, 2, 1007}));
  EXPECT_EQ(sink.Count(UM_ENGINE_ERROR), 1u);
  EXPECT_EQ(sink.Count(UM_SONG_END), 0u);
  EXPECT_EQ(CMMSystemErrMessage(1007).Message(), "midiOutShortMsgでエラーが発生しました。");
}

TEST_F(EngineTest, RefusedSysExReportsMultimediaError1008) {
  portA.failLong = true;
  EngineSong song;
  song.SysEx(0, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).Short(0, PortId::A, 0xC0, 1).End(10'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(50);
  EXPECT_THAT(portA.Shorts(), IsEmpty());
  EXPECT_THAT(sink.All(), testing::Contains(Posted{UM_ENGINE_ERROR, 2, 1008}));
}

TEST_F(EngineTest, ResumeCountsOnePeriodWhateverTheTimePaused) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).Short(10'000, PortId::A, 0xC0, 2).Short(30'000, PortId::A, 0xC0, 3).End(100'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(5);
  engine.Pause();
  const std::size_t pausedAt = portA.LogSize();
  clock.AdvanceMs(60'000);
  EXPECT_EQ(portA.LogSize(), pausedAt) << "nothing plays while paused";
  engine.Resume();
  clock.AdvanceMs(5);
  EXPECT_EQ(engine.SongTimeUs(), 10'000u);
  EXPECT_THAT(portA.Shorts(pausedAt), ElementsAre(Msg(0xC0, 2)));
}

TEST_F(EngineTest, SysExRightAfterResumeDoesNotPlayThroughThePause) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1)
      .SysEx(10'000, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Short(10'000, PortId::A, 0xC0, 2)
      .Short(30'000, PortId::A, 0xC0, 3)
      .End(100'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(5);
  engine.Pause();
  const std::size_t pausedAt = portA.LogSize();
  clock.AdvanceMs(60'000);
  engine.Resume();
  clock.AdvanceMs(5);  // sends the SysEx at 10 ms
  clock.AdvanceMs(5);  // and what follows it
  EXPECT_THAT(portA.Shorts(pausedAt), ElementsAre(Msg(0xC0, 2)));
  EXPECT_EQ(engine.SongTimeUs(), 15'000u);
}

TEST_F(EngineTest, PositionIsPostedOnceASecondFromTheSongProperNeverDuringControlBlocks) {
  EngineSong song;
  song.Marker(0, kMarkerCm6Begin)
      .SysEx(0, PortId::A, {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10, 0x00, 0x00, 0x00, 0x70, 0xF7})
      .Marker(1'500'000, kMarkerCm6End)
      .Short(1'500'000, PortId::A, 0xC0, 1)
      .End(4'000'000);
  song.Block(CMIDIStream::kCm6Block, 3, 1'500'000);
  song.Build();
  Start(song);
  clock.AdvanceMs(1'490);
  EXPECT_EQ(sink.Count(UM_TIME_UPDATE), 0u);
  EXPECT_EQ(engine.PositionSeconds(), 0u);
  clock.AdvanceMs(3'000);
  EXPECT_THAT(sink.WParams(UM_TIME_UPDATE), ElementsAre(0u, 1u, 2u));

  const auto entries = TakeMonitor();
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0].kind, MonitorKind::Cm6Begin);
  EXPECT_EQ(entries[0].value, 1u) << "messages in the block: its count less the two markers";
  EXPECT_EQ(entries[1].kind, MonitorKind::BlockProgress);
  EXPECT_EQ(entries[1].value, 1u);
  EXPECT_EQ(entries[2].kind, MonitorKind::Cm6End);
}

}  // namespace
}  // namespace velvasto::test
