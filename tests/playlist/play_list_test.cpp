#include "playlist/play_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velvasto {
namespace {

// Hands out a fixed sequence of draws, repeating it when it runs out, and counts reseeds.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom(std::vector<std::uint32_t> draws, int* reseeds) : draws_(std::move(draws)), reseeds_(reseeds) {}
  void Reseed() override { ++*reseeds_; }
  std::uint32_t Draw() override { return draws_[next_++ % draws_.size()]; }

 private:
  std::vector<std::uint32_t> draws_;
  int* reseeds_;
  std::size_t next_ = 0;
};

// A list of `count` songs named 0, 1, ... whose random picks come from `draws`.
struct Songs {
  explicit Songs(int count, std::vector<std::uint32_t> draws = {0})
      : list(std::make_unique<ScriptedRandom>(std::move(draws), &reseeds)) {
    for (int i = 0; i < count; ++i) list.Append({std::to_string(i)});
  }
  // The next `n` entries in `mode`, -1 for none.
  std::vector<int> Next(LoopMode mode, int n) {
    std::vector<int> picks;
    for (int i = 0; i < n; ++i) picks.push_back(list.NextEntry(mode).value_or(-1));
    return picks;
  }
  int reseeds = 0;
  CPlayList list;
};

TEST(PlayListTest, EditingStaysInsideTheListAndBelowItsLimit) {
  Songs s(3);
  s.list.SetModified(false);
  EXPECT_FALSE(s.list.Insert(3, {"end"})) << "inserting at Count() is not allowed";
  EXPECT_FALSE(s.list.Insert(-1, {"x"}));
  EXPECT_FALSE(s.list.Delete(3));
  EXPECT_FALSE(s.list.Modified());
  EXPECT_TRUE(s.list.Insert(1, {"new"}));
  EXPECT_TRUE(s.list.Delete(0));
  EXPECT_TRUE(s.list.Modified());
  EXPECT_EQ(s.list.Entry(0).path, "new");
  EXPECT_EQ(s.list.Entry(2).path, "2");
  while (s.list.Append({"fill"})) {
  }
  EXPECT_EQ(s.list.Count(), 1024);
  EXPECT_FALSE(s.list.Insert(0, {"x"}));
}

TEST(PlayListTest, CopyAndClearStartAFreshRandomHistory) {
  Songs s(4, {3});
  const int reseeds = s.reseeds;
  s.list.ResetOrder(LoopMode::Random);
  ASSERT_EQ(s.list.History()[0], 3);
  CPlayList source;
  source.SetFileName("/lists/source.mlt");
  source.Append({"x", 64});
  source.SetCurrentIndex(0);
  s.list.CopyFrom(source);
  EXPECT_EQ(s.list.FileName(), "/lists/source.mlt");
  EXPECT_EQ(s.list.Entries().at(0).volume, 64);
  EXPECT_TRUE(s.list.Modified() && s.list.CurrentIndex() == 0);
  EXPECT_EQ(s.list.History()[0], CPlayList::kEmptyHistorySlot);

  s.list.ResetOrder(LoopMode::Random);
  s.list.Clear();
  EXPECT_TRUE(s.list.Empty() && !s.list.Modified() && s.list.CurrentIndex() == -1);
  EXPECT_EQ(s.list.History()[0], CPlayList::kEmptyHistorySlot);
  EXPECT_EQ(s.list.FileName(), "/lists/source.mlt");
  EXPECT_EQ(s.reseeds, reseeds + 4) << "each random reset, the copy and the clear reseed";
}

TEST(PlayOrderTest, NoRepeatStopsAtTheEndRepeatWrapsAndUnknownOrdersStay) {
  Songs s(3);
  s.list.ResetOrder(LoopMode::NoRepeat);
  EXPECT_EQ(s.list.CurrentIndex(), 0);
  EXPECT_EQ(s.Next(LoopMode::NoRepeat, 4), (std::vector<int>{1, 2, -1, -1}));
  EXPECT_EQ(s.list.CurrentIndex(), 3);
  s.list.SetCurrentIndex(1);
  EXPECT_EQ(s.Next(LoopMode::Repeat, 3), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(s.Next(static_cast<LoopMode>(7), 1), std::vector<int>{1});

  Songs one(1);
  one.list.ResetOrder(LoopMode::Repeat);
  EXPECT_EQ(one.Next(LoopMode::Repeat, 2), (std::vector<int>{0, 0}));
  Songs none(0);
  none.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(none.list.CurrentIndex(), -1);
  for (LoopMode mode : {LoopMode::NoRepeat, LoopMode::Repeat, LoopMode::Random}) {
    EXPECT_EQ(none.list.NextEntry(mode), std::nullopt);
  }
}

TEST(PlayOrderTest, RandomRefusesExactlyTheLastHalfCountOfPicks) {
  Songs two(2, {0, 0, 0, 1});  // the offered 0s are refused until a 1 comes
  two.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(two.list.CurrentIndex(), 0);
  EXPECT_EQ(two.Next(LoopMode::Random, 4), (std::vector<int>{1, 0, 1, 0}));

  Songs three(3, {0, 1, 0, 0, 0, 2});  // 3 / 2 = 1: only the latest pick is refused
  three.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(three.Next(LoopMode::Random, 3), (std::vector<int>{1, 0, 2}));

  Songs six(6, {0, 1, 2, 0, 3, 0});  // after 0, 1, 2 the 0 is refused; after 3 it is free again
  six.list.ResetOrder(LoopMode::Random);
  EXPECT_EQ(six.Next(LoopMode::Random, 4), (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(std::vector<int>(six.list.History().begin(), six.list.History().begin() + 4),
            (std::vector<int>{0, 3, 2, CPlayList::kEmptyHistorySlot}));
}

TEST(PlayOrderTest, RandomResetEmptiesTheHistoryButSwitchingOrdersKeepsIt) {
  Songs s(5, {3, 3, 1});
  s.list.ResetOrder(LoopMode::Random);
  s.list.ResetOrder(LoopMode::Random);  // 3 is allowed again: the history was emptied
  EXPECT_EQ(s.list.CurrentIndex(), 3);
  EXPECT_EQ(s.Next(LoopMode::Repeat, 2), (std::vector<int>{4, 0}));
  EXPECT_EQ(s.list.NextEntry(LoopMode::Random), 1);
  EXPECT_EQ(s.list.History()[1], 3);
}

}  // namespace
}  // namespace velvasto
