// What G36 songs convert differently from RCP songs: 16-bit steps and gates, data bytes in
// other places, references by measure number, 0xE1, and the walk that skips idle ticks.

#include <gtest/gtest.h>

#include <map>
#include <random>

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

TEST(G36ConversionTest, RecordsCarryLongStepsAndTheirDataInBytesFourAndOne) {
  G36Builder song = Song();
  song.header.userExclusives[0] = {0x41, 0x10, 0x80, 0x81, 0xF7};
  std::vector<std::uint8_t> template25(25, 0x01);  // 25 bytes a template, without an F7
  template25[24] = 0x25;
  song.header.userExclusives[4] = template25;
  // Control change, pitch bend, user exclusive, Roland base address and parameter, track
  // exclusive (five bytes a record), bank LSB and program, a note of 16-bit step and gate, a
  // loop whose count is the step field's low byte, a user exclusive of 25 bytes.
  song.AddTrack().Channel(0x03).Control(1, 0x07, 0x64).Command(0xEE, 1, 0x11, 0x22).UserExclusive(0, 1, 0x33, 0x44)
      .Command(0xDD, 0, 0x40, 0x00).Command(0xDE, 1, 0x7F, 0x00)
      .TrackExclusive(1, 0x05, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x11, 0x82, 0x80, 0x84, 0x00})
      .Command(0xE1, 1, 0x30, 0x02).Note(1000, 60, 300, 100).LoopStart().Note(1, 62, 1, 90).Command(0xF8, 0x0102)
      .UserExclusive(4, 1, 0, 0).End();
  std::string template25Line = "10080000 A SYX F0";
  for (int i = 0; i < 24; ++i) template25Line += " 01";
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build())),
            (Lines{"0 A MSG B3 07 64", "10000 A MSG E3 11 22", "20000 A SYX F0 41 10 33 44 F7",
                   "30000 A SYX F0 41 10 16 12 40 00 7F 00 41 F7", "40000 A SYX F0 41 10 42 12 40 11 03 05 27 00 F7",
                   "50000 A MSG B3 20 02", "50000 A MSG C3 30", "60000 A MSG 93 3C 64", "3060000 A MSG 93 3C 00",
                   "10060000 A MSG 93 3E 5A", "10070000 A MSG 93 3E 00", "10070000 A MSG 93 3E 5A",
                   "10080000 A MSG 93 3E 00", template25Line + " 25 F7"}));
}

TEST(G36ConversionTest, BankLsbCommandKeepsOlderMapsUnderAForcedMap) {
  SongSettings forced{.mapMode = 2, .forceMap = 2};
  G36Builder song = Song();
  song.AddTrack().Command(0xE1, 1, 0x30, 0x03).Command(0xE1, 1, 0x31, 0x01).End();
  EXPECT_EQ(DumpMessages(*LoadG36(song.Build(), forced)),
            (Lines{"0 A MSG B0 20 02", "0 A MSG C0 30", "10000 A MSG B0 20 01", "10000 A MSG C0 31"}));
}

TEST(G36ConversionTest, SameMeasureRefersToAMeasureNumber) {
  G36Builder song = Song();
  // Measures 0 and 1; measure 2 as measure 1; measure 3 as measure 2, which refers to measure 1;
  // a reference after a note closes the measure; one to a measure that does not exist is a
  // measure end.
  song.AddTrack().Note(1, 1, 1, 100).MeasureEnd().Note(1, 2, 1, 100).MeasureEnd().SameMeasure(1).SameMeasure(2)
      .Note(1, 3, 1, 100).SameMeasure(0).SameMeasure(9).End();
  EXPECT_EQ(test::NotesPlayed(*LoadG36(song.Build())), (std::vector<int>{1, 2, 2, 2, 3}));
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

TEST(G36ConversionTest, SkippingIdleTicksGivesTheTimesOfATickByTickWalk) {
  G36Builder song;
  song.header = {.timeBase = 97, .tempo = 133};
  // Irregular steps and long gates on three tracks, and a tempo change at tick 1500.
  std::map<std::uint64_t, std::uint32_t> tempoAt{{0, 133}};
  std::multimap<std::uint64_t, int> expectedOn;
  std::minstd_rand random(12345);
  auto next = [&random](std::uint32_t range) { return random() % range; };
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
  std::multimap<std::uint64_t, int> expectedTimes;
  for (const auto& [tick, note] : expectedOn) expectedTimes.emplace(TickByTickTime(tick, 97, tempoAt), note);
  // Lengthened notes strike no new note-on, so every strike must be one of the expected ones.
  std::size_t strikes = 0;
  std::size_t matched = 0;
  for (const StreamEvent& event : file->Events()) {
    if ((event.status & 0xF0) != 0x90 || (event.message >> 16) == 0) continue;
    const int note = (event.status & 0x0F) * 128 + ((event.message >> 8) & 0x7F);
    const auto range = expectedTimes.equal_range(event.time);
    ++strikes;
    matched += std::any_of(range.first, range.second, [&](const auto& e) { return e.second == note; });
  }
  EXPECT_GT(strikes, 100u);
  EXPECT_EQ(matched, strikes);
}

}  // namespace
}  // namespace velvasto
