// Loops, same-measure references and measure ends: the commands that move a track's position.
// Each note lasts one tick, so a test reads the order of play from the note-ons.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "recomposer_load.h"

namespace velvasto {
namespace {

using test::RecomposerTrack;

std::vector<int> Play(const std::function<void(RecomposerTrack&)>& commands, int loopLimit = 255) {
  test::RcpBuilder song;
  commands(song.AddTrack());
  SongSettings settings{.rcpLoopLimit = loopLimit};
  return test::NotesPlayed(*test::LoadRcp(song.Build(), settings));
}

RecomposerTrack& N(RecomposerTrack& track, std::uint8_t note) { return track.Note(1, note, 1, 100); }

TEST(RcpFlowTest, LoopsRepeatTheirBodyWithinTheLimitAndNestFiveDeep) {
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(N(t, 1).LoopStart(), 2).LoopEnd(3), 3).End(); }),
            (std::vector<int>{1, 2, 2, 2, 3}));
  // Count 0 or above the limit plays the limit.
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(t.LoopStart(), 2).LoopEnd(0).LoopStart(), 5).LoopEnd(9).End(); }, 3),
            (std::vector<int>{2, 2, 2, 5, 5, 5}));
  const std::vector<int> unlimited = Play([](RecomposerTrack& t) { N(t.LoopStart(), 2).LoopEnd(0).End(); });
  EXPECT_EQ(std::count(unlimited.begin(), unlimited.end(), 2), 255);
  // A loop end without a start is ignored.
  EXPECT_EQ(Play([](RecomposerTrack& t) { N(N(t, 1).LoopEnd(4), 2).End(); }), (std::vector<int>{1, 2}));
  // Six loop starts and ends of count 2: five loops nest (2^5 rounds), the sixth is ignored.
  EXPECT_EQ(Play([](RecomposerTrack& t) {
              for (int i = 0; i < 6; ++i) t.LoopStart();
              N(t, 7);
              for (int i = 0; i < 6; ++i) t.LoopEnd(2);
              t.End();
            }).size(),
            32u);
}

TEST(RcpFlowTest, SameMeasureReferencesPlayTheMeasureAndComeBack) {
  struct Case {
    const char* what;
    std::function<void(RecomposerTrack&)> commands;  // the comments number the records
    std::vector<int> notes;
  };
  const Case cases[] = {
      {"plain references; record 0 is no reference",
       [](RecomposerTrack& t) {  // 0 note, 1 note, 2 FD, 3 FC→0, 4 note, 5 FD, 6 FC→4, 7 FC→4
         N(N(N(N(t, 1), 2).MeasureEnd().SameMeasure(0), 3).MeasureEnd().SameMeasure(4).SameMeasure(4), 9).End();
       },
       {1, 2, 3, 3, 3, 9}},
      {"chains are followed to the measure played; a reference to itself is ignored",
       [](RecomposerTrack& t) {  // 0 note, 1 FD, 2 note, 3 FD, 4 FC→2, 5 FC→4, 6 FC→5, 7 FC→6, 8 FC→8
         N(N(N(t, 0).MeasureEnd(), 1).MeasureEnd().SameMeasure(2).SameMeasure(4).SameMeasure(5).SameMeasure(6).SameMeasure(8), 9).End();
       },
       {0, 1, 1, 1, 1, 1, 9}},
      {"chains reaching record 0 are measure ends",
       [](RecomposerTrack& t) { N(N(t.SameMeasure(3), 1).MeasureEnd().SameMeasure(0), 2).End(); },
       {1, 2}},
      {"a reference after notes closes the measure",
       [](RecomposerTrack& t) { N(N(N(t, 1).MeasureEnd(), 2).SameMeasure(0).SameMeasure(2), 3).End(); },
       {1, 2, 2, 3}},
      {"references inside a loop return on every round",
       [](RecomposerTrack& t) {  // 0 note, 1 FD, 2 note, 3 FD, 4 loop, 5 note, 6 FD, 7 FC→2, 8 loop end
         N(N(N(t, 1).MeasureEnd(), 2).MeasureEnd().LoopStart(), 5).MeasureEnd().SameMeasure(2).LoopEnd(2).End();
       },
       {1, 2, 5, 2, 5, 2}},
      {"a loop inside a referenced measure restores the return",
       [](RecomposerTrack& t) {  // 0 note, 1 FD, 2 loop, 3 note, 4 loop end, 5 FD, 6 FC→2
         N(N(N(t, 0).MeasureEnd().LoopStart(), 1).LoopEnd(2).MeasureEnd().SameMeasure(2), 9).End();
       },
       {0, 1, 1, 1, 1, 9}},
  };
  for (const Case& c : cases) EXPECT_EQ(Play(c.commands), c.notes) << c.what;
  // References that lead to each other without a measure end: a damaged file.
  test::RcpBuilder song;
  N(song.AddTrack(), 1).MeasureEnd().SameMeasure(3).SameMeasure(2).End();
  EXPECT_EQ(test::ErrorText([&] { test::LoadRcp(song.Build()); }), "壊れたRCPファイルです。");
}

}  // namespace
}  // namespace velvasto
