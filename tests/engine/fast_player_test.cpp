// A whole song played on virtual time, through the same engine as live play.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/errors.h"
#include "engine/fast_player.h"
#include "engine_song.h"
#include "fake_output.h"
#include "midiout/backends/recording_device.h"
#include "recording_sink.h"

namespace velvasto::test {
namespace {

constexpr std::uint32_t kPeriodMs = 5;
constexpr std::uint64_t kPeriodUs = kPeriodMs * 1000;

// The clock time of the timer run that sends a record of time `timeUs`, the first run being one
// period after the start.
std::uint64_t RunOf(std::uint64_t timeUs) { return std::max<std::uint64_t>((timeUs + kPeriodUs - 1) / kPeriodUs, 1) * kPeriodUs; }

class FastPlayerTest : public ::testing::Test {
 protected:
  FastPlayer player{kPeriodMs};
  FakeOutput portA{player.Clock(), "A"};
  RecordingSink sink;
};

TEST_F(FastPlayerTest, PlaysTenMinutesAtTheTimesLivePlayWouldSend) {
  // A note every 250 ms, off the timer's grid, and a SysEx one minute in, at the time of a note.
  constexpr std::uint64_t kStep = 250'000;
  constexpr std::uint64_t kOffset = 1'234;
  constexpr std::uint64_t kSysExAt = 240 * kStep + kOffset;
  EngineSong song;
  for (std::uint64_t k = 0; k < 2'400; ++k) {
    const std::uint64_t time = k * kStep + kOffset;
    if (time == kSysExAt) song.SysEx(time, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    song.Short(time, PortId::A, k % 2 == 0 ? 0x90 : 0x80, 60, k % 2 == 0 ? 100 : 0);
  }
  song.End(600'000'000);
  song.Build();

  player.Play(song, portA, nullptr, {}, sink);

  const auto log = portA.Log();
  // The default volume before the first note, 2400 notes, the SysEx, then Stop's sound-off and reset.
  ASSERT_EQ(log.size(), 1 + 2'400 + 1 + 64 + 1);
  for (std::size_t i = 1; i <= 2'401; ++i) {
    const Sent& sent = log[i];
    ASSERT_EQ(sent.clockUs, RunOf(sent.songTimeUs) + (i == 242 ? kPeriodUs : 0))
        << "record " << i << " at " << sent.songTimeUs << " µs; the note behind the SysEx waits one run";
  }
  EXPECT_EQ(log[241].kind, Sent::Kind::Long);
  EXPECT_EQ(log.back().kind, Sent::Kind::Reset);
  EXPECT_EQ(sink.Count(UM_SONG_END), 1u);
  EXPECT_EQ(sink.Count(UM_TIME_UPDATE), 600u) << "a position every second of song time";
}

TEST(FastPlayerRecording, RecordsBothPortsInTheDumpFormStampedWithSongTime) {
  std::ostringstream out;
  const auto lines = std::make_shared<RecordSink>(out);
  RecordingDevice portA("A", PortId::A, lines);
  RecordingDevice portB("B", PortId::B, lines);
  portA.Open();
  portB.Open();
  EngineSong song(2);
  song.Tempo(0, 120)
      .Short(0, PortId::A, 0xC0, 5)
      .SysEx(0, PortId::B, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .Short(0, PortId::B, 0x91, 64, 100)
      .Short(500'000, PortId::A, 0x90, 60, 80)
      .Short(1'000'000, PortId::A, 0x80, 60, 0)
      .End(1'500'000);
  song.Build();
  RecordingSink notifications;
  FastPlayer player(kPeriodMs);
  player.Play(song, portA, &portB, {.masterVolume = 100, .resets = {.gm1SystemOn = true}}, notifications);

  std::istringstream in(out.str());
  std::vector<std::string> recorded;
  for (std::string line; std::getline(in, line);) recorded.push_back(line);
  const std::vector<std::string> song_part{
      "0 A SYX F0 7E 7F 09 01 F7",
      "0 B SYX F0 7E 7F 09 01 F7",
      "0 A MSG C0 05",
      "0 B SYX F0 41 10 42 12 40 00 7F 00 41 F7",
      "0 B MSG B1 07 4E",  // the default volume 100, at master volume 100
      "0 B MSG 91 40 64",
      "500000 A MSG B0 07 4E",
      "500000 A MSG 90 3C 50",
      "1000000 A MSG 80 3C 00",
  };
  ASSERT_EQ(recorded.size(), song_part.size() + 2 * 64) << out.str();
  EXPECT_EQ(std::vector<std::string>(recorded.begin(), recorded.begin() + 9), song_part);
  EXPECT_EQ(recorded[9], "1500000 A MSG B0 40 00") << "Stop silences port A, then port B";
  EXPECT_EQ(recorded.back(), "1500000 B MSG BF 78 00");
  EXPECT_EQ(portA.ResetCount(), 1);
  EXPECT_EQ(portB.ResetCount(), 1);
}

TEST_F(FastPlayerTest, ThrowsTheEngineErrorAfterStopping) {
  portA.failShortFrom = 1;
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 1).Short(10'000, PortId::A, 0xC0, 2).End(20'000);
  song.Build();
  try {
    player.Play(song, portA, nullptr, {}, sink);
    FAIL() << "Play succeeded";
  } catch (const CMMSystemErrMessage& error) {
    EXPECT_EQ(error.Code(), 1007);
    EXPECT_EQ(error.Message(), "midiOutShortMsgでエラーが発生しました。");
  }
}

TEST_F(FastPlayerTest, GivesUpOnASysExThatNeverFinishes) {
  portA.holdLongMessages = true;
  EngineSong song;
  song.SysEx(0, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).End(1'000'000);
  song.Build();
  try {
    player.Play(song, portA, nullptr, {}, sink);
    FAIL() << "Play succeeded";
  } catch (const CMMSystemErrMessage& error) {
    EXPECT_EQ(error.Code(), 1009);
    EXPECT_EQ(error.Message(), "midiOutLongMsg送信でタイムアウトが発生しました。");
  }
  EXPECT_EQ(portA.Log().back().kind, Sent::Kind::Reset);
}

}  // namespace
}  // namespace velvasto::test
