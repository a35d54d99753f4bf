// What the devices learn of the song's clock: when each record falls due on the engine's clock,
// so that a device able to schedule plays it there however late the timer sent it; and that the
// clock stands while the timer does (silencing, the chase, the reset messages go out at once).

#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"

namespace velvasto::test {
namespace {

const std::initializer_list<std::uint8_t> kGmOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

// Checks that every message `device` logged from entry `from` on falls due on the song clock
// that puts song time `songTimeUs` at clock time `dueUs`.
void ExpectOnSongClock(const FakeOutput& device, std::size_t from, std::uint64_t songTimeUs, std::uint64_t dueUs,
                       const std::string& phase) {
  ASSERT_LT(from, device.log.size()) << phase << ": nothing sent";
  for (std::size_t i = from; i < device.log.size(); ++i) {
    const Sent& sent = device.log[i];
    ASSERT_TRUE(sent.dueUs.has_value()) << phase << ": entry " << i << " sent without the song clock";
    EXPECT_EQ(*sent.dueUs, dueUs + (sent.songTimeUs - songTimeUs)) << phase << ": entry " << i;
    EXPECT_LE(*sent.dueUs, sent.clockUs) << phase << ": entry " << i << " sent before it was due";
  }
}

// Checks that the messages `device` logged from entry `from` on went out while the clock stood.
void ExpectAtOnce(const FakeOutput& device, std::size_t from, const std::string& phase) {
  ASSERT_LT(from, device.log.size()) << phase << ": nothing sent";
  for (std::size_t i = from; i < device.log.size(); ++i) {
    EXPECT_FALSE(device.log[i].dueUs.has_value()) << phase << ": entry " << i << " sent on a song clock";
  }
}

TEST_F(EngineTest, SongTimeZeroFallsDueAtStartAndNeitherAHoldNorALateRunMovesTheSongClock) {
  EngineSong song(2);
  song.SysEx(0, PortId::A, kGmOn).Short(0, PortId::A, 0xC0, 1).Short(2'500, PortId::B, 0xC0, 2);
  song.Short(12'345, PortId::A, 0xC0, 3).SysEx(20'000, PortId::A, kGmOn).Short(20'000, PortId::B, 0xC0, 4);
  song.Short(60'000, PortId::A, 0xC0, 5).Short(66'600, PortId::B, 0xC0, 6).Short(90'000, PortId::A, 0xC0, 7);
  song.End(1'000'000).Build();
  clock.AdvanceMs(1'000);
  Start(song);
  const std::uint64_t startUs = clock.NowUs();
  clock.AdvanceMs(40);
  clock.SleepMs(30);  // the timer comes 30 ms late
  dispatchTimer.Fire();
  clock.AdvanceMs(30);
  ASSERT_EQ(portA.Shorts().size() + portB.Shorts().size(), 7u);
  ExpectOnSongClock(portA, 0, 0, startUs, "port A");
  ExpectOnSongClock(portB, 0, 0, startUs, "port B");
  EXPECT_EQ(portA.log[1].clockUs, startUs + 2 * kPeriodMs * 1000) << "held one run behind the System Exclusive";
  EXPECT_EQ(portB.log[2].clockUs, startUs + 70'000) << "sent by the late run";
}

TEST_F(EngineTest, AfterAPauseOrASeekTheSongClockGoesOnWhenTheTimerDoesAndStandsMeanwhile) {
  // A program change and a note every 10 ms for 3 s, off the timer's grid.
  EngineSong song;
  for (std::uint64_t k = 0; k < 300; ++k) {
    song.Short(k * 10'000 + 1'234, PortId::A, 0xC0, static_cast<std::uint8_t>(k % 128));
    song.Short(k * 10'000 + 1'234, PortId::A, k % 2 == 0 ? 0x90 : 0x80, 60, k % 2 == 0 ? 100 : 0);
  }
  song.End(3'000'000).Build();
  Start(song, {127, {.gsReset = true}});
  ExpectAtOnce(portA, 0, "the reset message");
  std::size_t from = portA.log.size();
  const std::uint64_t startUs = clock.NowUs();
  clock.AdvanceMs(100);
  ExpectOnSongClock(portA, from, 0, startUs, "from the start");

  const std::uint64_t pausedAtUs = engine.SongTimeUs();
  from = portA.log.size();
  engine.Pause();
  ExpectAtOnce(portA, from, "silenced on pause");
  clock.AdvanceMs(2'000);
  engine.Resume();
  const std::uint64_t resumedUs = clock.NowUs();
  from = portA.log.size();
  clock.AdvanceMs(100);
  engine.SetMasterVolume(100);
  ExpectOnSongClock(portA, from, pausedAtUs, resumedUs, "resumed, then the master volume");

  from = portA.log.size();
  engine.Seek(2);
  ExpectAtOnce(portA, from, "silenced and chased on a seek");
  const std::uint64_t seekReturnedUs = clock.NowUs();
  from = portA.log.size();
  clock.AdvanceMs(100);
  ExpectOnSongClock(portA, from, 2'000'000, seekReturnedUs, "after the seek");

  from = portA.log.size();
  engine.Pause();
  engine.Seek(1);
  clock.AdvanceMs(1'000);
  engine.SetMasterVolume(90);
  ExpectAtOnce(portA, from, "paused, chased, the master volume");
  engine.Resume();
  const std::uint64_t resumedAgainUs = clock.NowUs();
  from = portA.log.size();
  clock.AdvanceMs(100);
  ExpectOnSongClock(portA, from, 1'000'000, resumedAgainUs, "resumed after the seek");

  from = portA.log.size();
  engine.Stop();
  ExpectAtOnce(portA, from, "silenced on stop");
}

}  // namespace
}  // namespace velvasto::test
