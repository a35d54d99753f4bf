// Loops, same-measure references and measure ends: the commands that move a track's position.
// Songs use tempo 125 at time base 48: one tick is 10,000 µs. Each note lasts one tick, so a
// test reads the order of play from the note-ons.

#include <gtest/gtest.h>

#include "recomposer_load.h"

namespace velvasto {
namespace {

using test::LoadRcp;
using test::RcpBuilder;

RcpBuilder Song() {
  RcpBuilder song;
  song.header.tempo = 125;
  return song;
}

// The note numbers struck, in order.
std::vector<int> NotesPlayed(const CMIDIStream& stream) {
  std::vector<int> notes;
  for (const StreamEvent& event : stream.Events()) {
    if ((event.status & 0xF0) == 0x90 && (event.message >> 16) != 0) notes.push_back((event.message >> 8) & 0x7F);
  }
  return notes;
}

std::vector<int> Play(const RcpBuilder& song, SongSettings settings = {}) {
  return NotesPlayed(*LoadRcp(song.Build(), std::move(settings)));
}

TEST(RcpFlowTest, LoopPlaysItsBodyTheGivenNumberOfTimes) {
  RcpBuilder song = Song();
  song.AddTrack().Note(1, 1, 1, 100).LoopStart().Note(1, 2, 1, 100).LoopEnd(3).Note(1, 3, 1, 100).End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2, 2, 2, 3}));
}

TEST(RcpFlowTest, LoopCountZeroOrAboveTheLimitPlaysTheLimit) {
  RcpBuilder song = Song();
  song.AddTrack().LoopStart().Note(1, 2, 1, 100).LoopEnd(0).LoopStart().Note(1, 5, 1, 100).LoopEnd(9).End();
  SongSettings limit3;
  limit3.rcpLoopLimit = 3;
  EXPECT_EQ(Play(song, limit3), (std::vector<int>{2, 2, 2, 5, 5, 5}));
  // The default limit is 255.
  const auto lines = Play(song);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), 2), 255);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), 5), 9);
}

TEST(RcpFlowTest, LoopsNestFiveDeepAndASixthStartIsIgnored) {
  RcpBuilder song = Song();
  auto& track = song.AddTrack();
  for (int i = 0; i < 6; ++i) track.LoopStart();
  track.Note(1, 7, 1, 100);
  // Six loop ends of count 2: the five open loops give 2^5 rounds, the sixth end (no loop left
  // open) is ignored.
  for (int i = 0; i < 6; ++i) track.LoopEnd(2);
  track.End();
  EXPECT_EQ(Play(song).size(), 32u);
}

TEST(RcpFlowTest, LoopEndWithoutLoopStartIsIgnored) {
  RcpBuilder song = Song();
  song.AddTrack().Note(1, 1, 1, 100).LoopEnd(4).Note(1, 2, 1, 100).End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2}));
}

TEST(RcpFlowTest, SameMeasurePlaysTheReferencedMeasureAndComesBack) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 1, 1, 100)  // 0: measure 1
      .Note(1, 2, 1, 100)  // 1
      .MeasureEnd()        // 2
      .SameMeasure(0)      // 3: as measure 1 (record 0)... cancelled: record 0 is no reference
      .Note(1, 3, 1, 100)  // 4: measure 3
      .MeasureEnd()        // 5
      .SameMeasure(4)      // 6: as measure 3
      .SameMeasure(4)      // 7: again
      .Note(1, 9, 1, 100)  // 8
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2, 3, 3, 3, 9}));
}

TEST(RcpFlowTest, SameMeasureChainsAreFollowedToTheMeasurePlayed) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 0, 1, 100)  // 0
      .MeasureEnd()        // 1
      .Note(1, 1, 1, 100)  // 2: measure 2
      .MeasureEnd()        // 3
      .SameMeasure(2)      // 4: as measure 2
      .SameMeasure(4)      // 5: as record 4, which refers to measure 2
      .SameMeasure(5)      // 6: as record 5 → 4 → 2
      .SameMeasure(6)      // 7: 6 → 5 → 4 → 2
      .SameMeasure(8)      // 8: ignored: refers to itself
      .Note(1, 9, 1, 100)
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{0, 1, 1, 1, 1, 1, 9}));
}

TEST(RcpFlowTest, SameMeasureChainsReachingRecordZeroAreMeasureEnds) {
  RcpBuilder song = Song();
  song.AddTrack()
      .SameMeasure(3)      // 0: the first record is a reference line; record 3 refers to 0
      .Note(1, 1, 1, 100)  // 1
      .MeasureEnd()        // 2
      .SameMeasure(0)      // 3
      .Note(1, 2, 1, 100)
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2}));
}

TEST(RcpFlowTest, AReferenceLoopWithoutEndIsADamagedFile) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 1, 1, 100)  // 0
      .MeasureEnd()        // 1
      .SameMeasure(3)      // 2: refers to 3, which refers to 2
      .SameMeasure(2)      // 3
      .End();
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(song.Build()); }), "壊れたRCPファイルです。");
}

TEST(RcpFlowTest, AFcAfterNotesClosesTheReferencedMeasure) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 1, 1, 100)  // 0
      .MeasureEnd()        // 1
      .Note(1, 2, 1, 100)  // 2: measure 2, closed by the 0xFC below
      .SameMeasure(0)      // 3: after a note: a measure end
      .SameMeasure(2)      // 4: as measure 2
      .Note(1, 3, 1, 100)
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2, 2, 3}));
}

TEST(RcpFlowTest, ReferencesInsideALoopReturnOnEveryRound) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 1, 1, 100)  // 0
      .MeasureEnd()        // 1
      .Note(1, 2, 1, 100)  // 2: measure 2
      .MeasureEnd()        // 3
      .LoopStart()         // 4
      .Note(1, 5, 1, 100)  // 5
      .MeasureEnd()        // 6
      .SameMeasure(2)      // 7: as measure 2
      .LoopEnd(2)          // 8
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{1, 2, 5, 2, 5, 2}));
}

TEST(RcpFlowTest, ALoopStartedInsideAReferencedMeasureRestoresTheReturn) {
  RcpBuilder song = Song();
  song.AddTrack()
      .Note(1, 0, 1, 100)  // 0
      .MeasureEnd()        // 1
      .LoopStart()         // 2: measure 2 holds a loop
      .Note(1, 1, 1, 100)  // 3
      .LoopEnd(2)          // 4
      .MeasureEnd()        // 5
      .SameMeasure(2)      // 6: as measure 2: the loop runs twice, then back here
      .Note(1, 9, 1, 100)
      .End();
  EXPECT_EQ(Play(song), (std::vector<int>{0, 1, 1, 1, 1, 9}));
}

}  // namespace
}  // namespace velvasto
