// The timer callback: what goes out when, catch-up, System Exclusive holds, channel volumes,
// pause and resume, end and error notifications; and whole songs played on virtual time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/fast_player.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::initializer_list<std::uint8_t> kGmOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

TEST_F(EngineTest, SendsUpToTheCurrentMillisecondAndALateRunCatchesUpInOneBurst) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).Short(5'000, PortId::A, 0xC0, 2).Short(5'001, PortId::A, 0xC0, 3);
  song.Short(55'000, PortId::A, 0xC0, 4).Short(55'001, PortId::A, 0xC0, 5).End(90'000).Build();
  Start(song);
  clock.AdvanceMs(kPeriodMs - 1);
  EXPECT_THAT(portA.log, IsEmpty()) << "nothing goes out before the first run";
  clock.AdvanceMs(1);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xC0, 1), Msg(0xC0, 2)));
  clock.SleepMs(50);  // the timer comes 50 ms late
  dispatchTimer.Fire();
  EXPECT_THAT(portA.Shorts(2), ElementsAre(Msg(0xC0, 3), Msg(0xC0, 4)));
  EXPECT_EQ(portA.log[3].clockUs, 55'000u);
  EXPECT_EQ(engine.SongTimeUs(), 55'000u);
}

TEST_F(EngineTest, DefaultVolumeGoesBeforeEachChannelsFirstNoteUnlessTheSongSetOne) {
  EngineSong song(2);
  song.Short(0, PortId::A, 0x90, 60, 100).Short(0, PortId::A, 0x80, 60).Short(1'000, PortId::A, 0x90, 62, 100);
  song.Short(2'000, PortId::B, 0x90, 60, 100).Short(3'000, PortId::A, 0xB2, 7, 127).Short(4'000, PortId::A, 0x92, 60, 1);
  song.End(10'000).Build();
  Start(song, {64, {}});
  clock.AdvanceMs(20);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xB0, 7, 50), Msg(0x90, 60, 100), Msg(0x80, 60), Msg(0x90, 62, 100),
                                          Msg(0xB2, 7, 64), Msg(0x92, 60, 1)));
  EXPECT_THAT(portB.Shorts(), ElementsAre(Msg(0xB0, 7, 50), Msg(0x90, 60, 100)));
  EXPECT_EQ(TakeMonitor().at(0).value, 50u) << "the monitor shows the volume actually sent";
}

// A one-port song: records of port B or of no port are never sent, port B is never touched.
TEST_F(EngineTest, SongEndIsPostedOnceAfterItsMonitorEntriesAndAFailureOnceInstead) {
  EngineSong song(1);
  song.Short(0, PortId::B, 0xC0, 1).Short(0, PortId::None, 0xC0, 2).Short(0, PortId::A, 0x90, 60, 100);
  song.Short(2'000, PortId::A, 0x80, 60).End(3'000).Short(3'000, PortId::A, 0xC0, 1).Build();
  Start(song, {127, {.gsReset = true}});
  clock.AdvanceMs(50);
  EXPECT_THAT(portA.Shorts(), ElementsAre(Msg(0xB0, 7, 100), Msg(0x90, 60, 100), Msg(0x80, 60)));
  EXPECT_THAT(sink.posted, ElementsAre(Posted{UM_MONITOR_EVENTS, 0, 0}, Posted{UM_SONG_END, 0, 0}));

  portA.shortsBeforeFailure = 64 + 1;  // the restart's sound-off and one message
  Start(song);
  clock.AdvanceMs(50);
  EXPECT_EQ(portA.log.back().message, Msg(0xB0, 7, 100)) << "each Start begins with no channel volume known";
  EXPECT_EQ(sink.posted.back(), (Posted{UM_ENGINE_ERROR, 2, 1007}));
  EXPECT_EQ(sink.WParams(UM_ENGINE_ERROR).size() + sink.WParams(UM_SONG_END).size(), 2u);
  EXPECT_THAT(portB.log, IsEmpty()) << "no reset, song data, sound-off or device reset";
}

// Time spent paused is not played through, even when a SysEx hold comes right after resuming.
TEST_F(EngineTest, PauseSilencesKeepsThePlaceAndResumeCountsOnePeriod) {
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).SysEx(10'000, PortId::A, kGmOn).Short(10'000, PortId::A, 0xC0, 2);
  song.Short(30'000, PortId::A, 0xC0, 3).End(100'000).Build();
  Start(song);
  clock.AdvanceMs(5);
  engine.Pause();
  clock.AdvanceMs(60'000);
  EXPECT_EQ(portA.log.size(), 1 + 64u) << "sound-off on every channel; no device reset, nothing while paused";
  engine.Resume();
  clock.AdvanceMs(10);  // the SysEx at 10 ms, then what follows it
  EXPECT_EQ(portA.log.back().message, Msg(0xC0, 2));
  EXPECT_EQ(engine.SongTimeUs(), 15'000u);
}

TEST(FastPlayer, PlaysTenMinutesAtTheTimesLivePlayWouldSend) {
  // A note every 250 ms, off the timer's grid, and a SysEx one minute in, at the time of a note.
  EngineSong song;
  for (std::uint64_t k = 0; k < 2'400; ++k) {
    if (k == 240) song.SysEx(k * 250'000 + 1'234, PortId::A, kGmOn);
    song.Short(k * 250'000 + 1'234, PortId::A, k % 2 == 0 ? 0x90 : 0x80, 60, k % 2 == 0 ? 100 : 0);
  }
  song.End(600'000'000).Build();
  FastPlayer player(5);
  FakeOutput portA(player.Clock());
  RecordingSink sink;
  player.Play(song, portA, nullptr, {}, sink);

  // The default volume before the first note, 2400 notes, the SysEx, then Stop's sound-off, reset
  // and controller reset.
  ASSERT_EQ(portA.log.size(), 1 + 2'400 + 1 + 64 + 2);
  for (std::size_t i = 1; i <= 2'401; ++i) {
    // The timer run that sends a record: the first at or after its time, the note behind the
    // SysEx one run later.
    const std::uint64_t run = (portA.log[i].songTimeUs + 4'999) / 5'000 * 5'000;
    ASSERT_EQ(portA.log[i].clockUs, run + (i == 242 ? 5'000 : 0)) << "record " << i;
  }
  EXPECT_EQ(portA.log[241].kind, Sent::Kind::Long);
  EXPECT_EQ(sink.WParams(UM_SONG_END).size(), 1u);
  EXPECT_EQ(sink.WParams(UM_TIME_UPDATE).size(), 600u) << "a position every second of song time";
}

// One SysEx a millisecond: each holds the song time for a timer run, so the song runs ever
// further behind the clock (100 s of it for 20 s of song) and is still healthy.
TEST(FastPlayer, ASongDenseWithSysExPlaysToItsEndHoweverFarItFallsBehind) {
  constexpr std::uint64_t kMessages = 20'000;
  EngineSong song;
  for (std::uint64_t k = 0; k < kMessages; ++k) song.SysEx(k * 1'000, PortId::A, kGmOn);
  song.Short(kMessages * 1'000, PortId::A, 0xC0, 1).End(kMessages * 1'000 + 1'000).Build();
  FastPlayer player(5);
  FakeOutput portA(player.Clock());
  RecordingSink sink;
  player.Play(song, portA, nullptr, {}, sink);
  const auto longs = std::count_if(portA.log.begin(), portA.log.end(), [](const Sent& sent) { return sent.kind == Sent::Kind::Long; });
  EXPECT_EQ(longs, static_cast<std::ptrdiff_t>(kMessages));
  EXPECT_EQ(portA.Shorts().front(), Msg(0xC0, 1)) << "and what comes after them";
  EXPECT_GT(player.Clock().NowUs(), 5 * kMessages * 1'000) << "one SysEx a timer run";
  EXPECT_EQ(sink.WParams(UM_SONG_END).size(), 1u);
}

TEST(FastPlayer, ThrowsTheEngineErrorAndGivesUpOnASysExThatNeverFinishes) {
  FastPlayer player(5);
  FakeOutput portA(player.Clock());
  RecordingSink sink;
  EngineSong song;
  song.SysEx(0, PortId::A, kGmOn).Short(0, PortId::A, 0xC0, 1).End(20'000).Build();
  portA.failLong = true;
  ExpectError<CMMSystemErrMessage>([&] { player.Play(song, portA, nullptr, {}, sink); }, 1008,
                                   "midiOutLongMsgでエラーが発生しました。");
  portA.failLong = false;
  portA.holdLongMessages = true;
  ExpectError<CMMSystemErrMessage>([&] { player.Play(song, portA, nullptr, {}, sink); }, 1009,
                                   "midiOutLongMsg送信でタイムアウトが発生しました。");
  EXPECT_EQ(portA.Shorts().size(), 2 * 64u) << "nothing behind the SysEx while it is in flight; sound-off at Stop";
}

}  // namespace
}  // namespace velvasto::test
