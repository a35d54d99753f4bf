// Files that ask for more than any song needs end with an error in bounded time and memory.

#include <gtest/gtest.h>

#include <functional>

#include "recomposer_load.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::LoadRcp;
using test::RcpBuilder;

constexpr const char* kDamaged = "壊れたRCPファイルです。";

// `depth` nested loops of 255 rounds around `body`.
RcpBuilder NestedLoops(int depth, const std::function<void(test::RecomposerTrack&)>& body) {
  RcpBuilder song;
  auto& track = song.AddTrack();
  for (int i = 0; i < depth; ++i) track.LoopStart();
  body(track);
  for (int i = 0; i < depth; ++i) track.LoopEnd(255);
  track.End();
  return song;
}

TEST(RcpLimitsTest, LoopsOfLoopsThatTakeNoTimeEndAtTheCommandLimit) {
  // 255^5 rounds of a command of step 0: no time passes, no record is written.
  const RcpBuilder song = NestedLoops(5, [](test::RecomposerTrack& track) { track.Command(0xE5, 0); });
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(song.Build()); }), kDamaged);
}

TEST(RcpLimitsTest, EndlessRestsEndAtTheSongTimeLimit) {
  // 255^4 rests of 255 ticks at 10 ms a tick: 4.3 × 10^10 seconds.
  RcpBuilder song = NestedLoops(4, [](test::RecomposerTrack& track) { track.Rest(255); });
  song.header.tempo = 125;
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(song.Build()); }), kDamaged);
  // The same rests stopped by a loop limit of 2: 16 × 255 ticks play.
  SongSettings limit2;
  limit2.rcpLoopLimit = 2;
  RcpBuilder once = NestedLoops(4, [](test::RecomposerTrack& track) { track.Rest(255); });
  once.header.tempo = 125;
  EXPECT_EQ(LoadRcp(once.Build(), limit2)->PlayTimeUs(), 16u * 255 * 10'000);
}

TEST(RcpLimitsTest, SongsLongerThanTheTableLimitFailAsOutOfMemory) {
  // Bank and program commands of step 0 write two records each and take no time: 255^4 rounds
  // of them would need 1.7 × 10^10 records; the table limit of 2^24 comes before the command
  // limit of 2^24.
  RcpBuilder song = NestedLoops(4, [](test::RecomposerTrack& track) { track.BankProgram(0, 0, 0).BankProgram(0, 0, 0); });
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(song.Build()); }), "メモリ不足です。");
}

TEST(RcpLimitsTest, EachLimitLetsASongReachItAndStopsTheNextStep) {
  // Six commands, seven records (tempo, three notes on, two notes off, end), 20 ticks at
  // 10 ms: 200,000 µs.
  RcpBuilder song;
  song.header.tempo = 125;
  song.AddTrack().Note(1, 60, 1, 100).Note(1, 61, 1, 100).Note(18, 62, 30, 100).Command(0xE5, 0).Command(0xE5, 0).End();
  const test::Bytes bytes = song.Build();
  test::TempDir dir;
  const auto path = dir.Write("song.rcp", bytes);
  auto load = [&path](RcpPassLimits limits) { CRCPFile(SongSettings{}, limits).Load(path); };
  EXPECT_EQ(test::ErrorText([&] { load({6, 7, 200'000}); }), "");
  EXPECT_EQ(test::ErrorText([&] { load({5, 7, 200'000}); }), kDamaged);
  EXPECT_EQ(test::ErrorText([&] { load({6, 6, 200'000}); }), "メモリ不足です。");
  EXPECT_EQ(test::ErrorText([&] { load({6, 7, 199'999}); }), kDamaged);
}

}  // namespace
}  // namespace velvasto
