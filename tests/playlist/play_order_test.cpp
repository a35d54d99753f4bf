#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "playlist/play_list.h"
#include "scripted_random.h"

namespace velvasto {
namespace {

// A list of `count` songs whose random picks come from `draws`.
struct OrderFixture {
  explicit OrderFixture(int count, std::vector<std::uint32_t> draws = {0})
      : list(std::make_unique<test::ScriptedRandom>(std::move(draws), &reseeds)) {
    for (int i = 0; i < count; ++i) list.Append(ListEntry{"/music/" + std::to_string(i) + ".mid"});
  }
  std::vector<int> Picks(int n) {
    std::vector<int> picks;
    for (int i = 0; i < n; ++i) picks.push_back(list.NextEntry(LoopMode::Random).value());
    return picks;
  }
  int reseeds = 0;
  CPlayList list;
};

TEST(PlayOrderTest, NoRepeatPlaysOnceThenStopsAndAResetStartsOver) {
  OrderFixture f(3);
  f.list.ResetOrder(LoopMode::NoRepeat);
  EXPECT_EQ(f.list.CurrentIndex(), 0);
  EXPECT_EQ(f.list.NextEntry(LoopMode::NoRepeat), 1);
  EXPECT_EQ(f.list.NextEntry(LoopMode::NoRepeat), 2);
  EXPECT_EQ(f.list.NextEntry(LoopMode::NoRepeat), std::nullopt);
  EXPECT_EQ(f.list.CurrentIndex(), 3);
  EXPECT_FALSE(f.list.CurrentIndexValid());
  EXPECT_EQ(f.list.NextEntry(LoopMode::NoRepeat), std::nullopt);
  EXPECT_EQ(f.list.CurrentIndex(), 3);
  f.list.ResetOrder(LoopMode::NoRepeat);
  EXPECT_EQ(f.list.CurrentIndex(), 0);
}

TEST(PlayOrderTest, RepeatWrapsAroundEvenWithOneEntry) {
  OrderFixture one(1);
  one.list.ResetOrder(LoopMode::Repeat);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(one.list.NextEntry(LoopMode::Repeat), 0);

  OrderFixture three(3);
  three.list.ResetOrder(LoopMode::Repeat);
  EXPECT_EQ(three.list.NextEntry(LoopMode::Repeat), 1);
  EXPECT_EQ(three.list.NextEntry(LoopMode::Repeat), 2);
  EXPECT_EQ(three.list.NextEntry(LoopMode::Repeat), 0);
}

TEST(PlayOrderTest, AnEmptyListHasNoNextEntryInAnyOrder) {
  OrderFixture f(0);
  f.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(f.list.CurrentIndex(), -1);
  for (LoopMode mode : {LoopMode::NoRepeat, LoopMode::Repeat, LoopMode::Random}) {
    EXPECT_EQ(f.list.NextEntry(mode), std::nullopt);
  }
}

TEST(PlayOrderTest, AnUnknownOrderLeavesTheCurrentIndexAlone) {
  OrderFixture f(3);
  f.list.SetCurrentIndex(1);
  EXPECT_EQ(f.list.NextEntry(static_cast<LoopMode>(7)), 1);
  f.list.SetCurrentIndex(-1);
  EXPECT_EQ(f.list.NextEntry(static_cast<LoopMode>(7)), std::nullopt);
}

TEST(PlayOrderTest, RandomWithTwoEntriesAlternatesStrictly) {
  // The source keeps offering 0; after the first pick it is refused until a 1 comes.
  OrderFixture f(2, {0, 0, 0, 1});
  f.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(f.list.CurrentIndex(), 0);
  EXPECT_EQ(f.Picks(4), (std::vector<int>{1, 0, 1, 0}));
}

TEST(PlayOrderTest, RandomWithThreeEntriesNeverRepeatsThePreviousPickOnly) {
  // h = 3 / 2 = 1: only the latest pick is refused, so 0, 1, 0 is a valid order.
  OrderFixture f(3, {0, 1, 0, 0, 0, 2});
  f.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(f.list.CurrentIndex(), 0);
  EXPECT_EQ(f.Picks(3), (std::vector<int>{1, 0, 2}));
}

TEST(PlayOrderTest, RandomRemembersExactlyHalfTheCountOfPicks) {
  // Six entries remember three picks: after 0, 1, 2 the 0 is refused; after 3 it is free again.
  OrderFixture f(6, {0, 1, 2, 0, 3, 0});
  f.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(f.Picks(4), (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(f.list.History()[0], 0);
  EXPECT_EQ(f.list.History()[1], 3);
  EXPECT_EQ(f.list.History()[2], 2);
  EXPECT_EQ(f.list.History()[3], CPlayList::kEmptyHistorySlot);  // never beyond h − 1
}

TEST(PlayOrderTest, RandomWithTenSongsNeverRepeatsWithinFivePicks) {
  std::mt19937 generator(12345);
  std::vector<std::uint32_t> draws(20000);
  for (auto& draw : draws) draw = generator();
  OrderFixture f(10, draws);
  f.list.ResetOrder(LoopMode::Random);
  std::vector<int> picks{f.list.CurrentIndex()};
  for (int pick : f.Picks(2000)) picks.push_back(pick);
  std::vector<int> seen(10, 0);
  for (std::size_t i = 0; i < picks.size(); ++i) {
    ++seen[static_cast<std::size_t>(picks[i])];
    for (std::size_t back = 1; back <= 5 && back <= i; ++back) {
      ASSERT_NE(picks[i], picks[i - back]) << "pick " << i << " repeats the pick " << back << " before it";
    }
  }
  for (int count : seen) EXPECT_GT(count, 0);
}

TEST(PlayOrderTest, ResetInRandomOrderEmptiesTheHistoryAndReseeds) {
  OrderFixture f(4, {1, 1, 2});
  f.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(f.list.CurrentIndex(), 1);
  const int reseedsBefore = f.reseeds;
  f.list.ResetOrder(LoopMode::Random);  // 1 is allowed again: the history was emptied
  EXPECT_EQ(f.list.CurrentIndex(), 1);
  EXPECT_EQ(f.reseeds, reseedsBefore + 1);
}

TEST(PlayOrderTest, SwitchingFromRandomToRepeatContinuesAfterTheCurrentEntry) {
  OrderFixture f(5, {3, 1});
  f.list.ResetOrder(LoopMode::Random);
  ASSERT_EQ(f.list.CurrentIndex(), 3);
  EXPECT_EQ(f.list.NextEntry(LoopMode::Repeat), 4);
  EXPECT_EQ(f.list.NextEntry(LoopMode::Repeat), 0);
  // Switching back does not empty the history: 3 is still remembered, 1 is taken.
  EXPECT_EQ(f.list.NextEntry(LoopMode::Random), 1);
  EXPECT_EQ(f.list.History()[1], 3);
}

}  // namespace
}  // namespace velvasto
