// What G36 songs convert differently from RCP songs: 16-bit steps and gates, data bytes in
// other places, references by measure number, 0xE1, and the walk that skips idle ticks.

#include <gtest/gtest.h>

#include <map>

#include "recomposer_load.h"

namespace velvasto {
namespace {

using test::DumpMessages;
using test::G36Builder;
using test::LoadG36;
using Lines = std::vector<std::string>;

G36Builder Song() {
  G36Builder song;
  song.header.tempo = 125;  // with time base 48: 10,000 µs a tick
  return song;
}

// The time of `tick` as a walk over every single tick computes it: each tick adds
// (remainder + 60,000,000) / tempo / time base and keeps the remainder. `tempoAt` gives the
// tempo from each tick on.
std::uint64_t TickByTickTime(std::uint64_t tick, std::uint32_t timeBase, const std::map<std::uint64_t, std::uint32_t>& tempoAt) {
  std::uint64_t time = 0;
  std::uint64_t remainder = 0;
  std::uint32_t tempo = tempoAt.at(0);
  for (std::uint64_t t = 1; t <= tick; ++t) {
    const std::uint64_t a = remainder + 60'000'000;
    const std::uint64_t step = a / tempo / timeBase;
    time += step;
    remainder = a - step * tempo * timeBase;
    if (auto change = tempoAt.find(t); change != tempoAt.end()) tempo = change->second;
  }
  return time;
}

TEST(G36ConversionTest, StepsAndGatesAreSixteenBits) {
  G36Builder song = Song();
  song.AddTrack().Note(1000, 60, 300, 100).Note(1, 62, 1, 90).End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())),
            (Lines{"0 90 3C 64 A", "3000000 90 3C 00 A", "10000000 90 3E 5A A", "10010000 90 3E 00 A"}));
}

TEST(G36ConversionTest, DataBytesComeFromBytesFourAndOne) {
  G36Builder song = Song();
  song.header.userExclusives[0] = {0x41, 0x10, 0x80, 0x81, 0xF7};
  song.AddTrack()
      .Control(1, 0x07, 0x64)
      .Command(0xEE, 1, 0x11, 0x22)
      .UserExclusive(0, 1, 0x33, 0x44)
      .Command(0xDD, 0, 0x40, 0x00)
      .Command(0xDE, 1, 0x7F, 0x00)
      .End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())),
            (Lines{"0 B0 07 64 A", "10000 E0 11 22 A", "20000 F0 41 10 33 44 F7 A",
                   "30000 F0 41 10 16 12 40 00 7F 00 41 F7 A"}));
}

TEST(G36ConversionTest, UserExclusiveTemplatesHaveTwentyFiveBytes) {
  G36Builder song = Song();
  std::vector<std::uint8_t> pattern(25, 0x01);
  pattern[24] = 0x25;
  song.header.userExclusives[4] = pattern;
  song.AddTrack().UserExclusive(4, 1, 0, 0).End();
  const auto file = LoadG36(song.Build());
  const auto bytes = file->SysExData(file->Events()[1]);
  ASSERT_EQ(bytes.size(), 27u);
  EXPECT_EQ(bytes[25], 0x25);
  EXPECT_EQ(bytes[26], 0xF7);
}

TEST(G36ConversionTest, TrackExclusiveTakesFiveBytesARecord) {
  G36Builder song = Song();
  song.AddTrack()
      .Channel(0x03)
      .TrackExclusive(1, 0x05, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x11, 0x82, 0x80, 0x84, 0x00})
      .End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())), (Lines{"0 F0 41 10 42 12 40 11 03 05 27 00 F7 A"}));
}

TEST(G36ConversionTest, BankLsbAndProgramCommand) {
  G36Builder song = Song();
  song.AddTrack().Command(0xE1, 1, 0x30, 0x02).Command(0xE1, 1, 0x31, 0x00).End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())),
            (Lines{"0 B0 20 02 A", "0 C0 30 A", "10000 B0 20 00 A", "10000 C0 31 A"}));
  SongSettings forced;
  forced.mapMode = 2;
  forced.forceMap = 2;  // SC-88: map LSB 2
  song = Song();
  song.AddTrack().Command(0xE1, 1, 0x30, 0x03).Command(0xE1, 1, 0x31, 0x01).Note(1, 60, 1, 100).End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build(), forced)),
            (Lines{"0 B0 20 02 A", "0 C0 30 A", "10000 B0 20 01 A", "10000 C0 31 A", "20000 90 3C 64 A", "30000 90 3C 00 A"}));
}

TEST(G36ConversionTest, SameMeasureRefersToAMeasureNumber) {
  G36Builder song = Song();
  song.AddTrack()
      .Note(1, 1, 1, 100)  // measure 0
      .MeasureEnd()
      .Note(1, 2, 1, 100)  // measure 1
      .MeasureEnd()
      .SameMeasure(1)  // measure 2: as measure 1
      .SameMeasure(2)  // measure 3: as measure 2, which refers to measure 1
      .Note(1, 3, 1, 100)
      .SameMeasure(0)  // after a note: closes the measure
      .SameMeasure(9)  // no measure 9: no reference, a measure end
      .End();
  const auto file = LoadG36(song.Build());
  std::vector<int> notes;
  for (const StreamEvent& event : file->Events()) {
    if ((event.status & 0xF0) == 0x90 && (event.message >> 16) != 0) notes.push_back((event.message >> 8) & 0x7F);
  }
  EXPECT_EQ(notes, (std::vector<int>{1, 2, 2, 2, 3}));
}

TEST(G36ConversionTest, LoopCountIsTheStepFieldsLowByte) {
  G36Builder song = Song();
  song.AddTrack().LoopStart().Note(1, 60, 1, 100).Command(0xF8, 0x0103).End();
  const Lines lines = DumpMessages(*LoadG36(song.Build()));
  EXPECT_EQ(lines.size(), 6u);  // three rounds of note-on and note-off
}

TEST(G36ConversionTest, SkippingIdleTicksGivesTheTimesOfATickByTickWalk) {
  G36Builder song;
  song.header.tempo = 133;
  song.header.timeBase = 97;
  // Irregular steps and long gates on three tracks, and a tempo change at tick 1500.
  std::map<std::uint64_t, std::uint32_t> tempoAt{{0, 133}};
  std::multimap<std::uint64_t, int> expectedOn;
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  for (int t = 0; t < 3; ++t) {
    auto& track = song.AddTrack().Channel(static_cast<std::uint8_t>(t));
    std::uint64_t tick = 0;
    for (int i = 0; i < 40; ++i) {
      const auto step = static_cast<std::uint16_t>(1 + next(t == 0 ? 3000 : 200));
      const auto gate = static_cast<std::uint16_t>(1 + next(5000));
      const auto note = static_cast<std::uint8_t>(next(128));
      if (t == 1 && tick <= 1500 && tick + step > 1500) {
        track.Rest(static_cast<std::uint16_t>(1500 - tick)).Tempo(0, 80);  // 133 × 80 / 64 = 166
        tempoAt[1500] = 166;
        tick = 1500;
      }
      track.Note(step, note, gate, 100);
      expectedOn.emplace(tick, t * 128 + note);
      tick += step;
    }
    track.End();
  }
  const auto file = LoadG36(song.Build());
  std::multimap<std::uint64_t, int> actualOn;
  for (const StreamEvent& event : file->Events()) {
    if ((event.status & 0xF0) == 0x90 && (event.message >> 16) != 0) {
      actualOn.emplace(event.time, (event.status & 0x0F) * 128 + ((event.message >> 8) & 0x7F));
    }
  }
  std::multimap<std::uint64_t, int> expectedTimes;
  for (const auto& [tick, note] : expectedOn) expectedTimes.emplace(TickByTickTime(tick, 97, tempoAt), note);
  // Lengthened notes strike no new note-on; drop the expected strikes that lengthen one.
  std::size_t matched = 0;
  for (const auto& on : actualOn) {
    const auto range = expectedTimes.equal_range(on.first);
    matched += std::any_of(range.first, range.second, [&](const auto& e) { return e.second == on.second; });
  }
  EXPECT_GT(actualOn.size(), 100u);
  EXPECT_EQ(matched, actualOn.size());
}

}  // namespace
}  // namespace velvasto
