#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "playlist/play_list.h"
#include "scripted_random.h"

namespace velvasto {
namespace {

ListEntry Song(const std::string& name, std::int32_t volume = 100) {
  ListEntry entry;
  entry.path = "/music/" + name;
  entry.volume = volume;
  return entry;
}

std::string NameAt(const CPlayList& list, int index) { return list.Entry(index).path.filename().string(); }

TEST(PlayListTest, AppendStopsAtTheLimitAndMarksTheListModified) {
  CPlayList list;
  EXPECT_FALSE(list.Modified());
  for (int i = 0; i < CPlayList::kMaxEntries; ++i) ASSERT_TRUE(list.Append(Song(std::to_string(i))));
  EXPECT_TRUE(list.Modified());
  EXPECT_TRUE(list.Full());
  EXPECT_FALSE(list.Append(Song("one too many")));
  EXPECT_EQ(list.Count(), 1024);
  EXPECT_EQ(NameAt(list, 1023), "1023");
}

TEST(PlayListTest, InsertOnlyInsideTheListAndBelowTheLimit) {
  CPlayList list;
  EXPECT_FALSE(list.Insert(0, Song("a")));  // index 0 of an empty list is outside it
  list.Append(Song("a"));
  list.Append(Song("c"));
  list.SetModified(false);
  EXPECT_FALSE(list.Insert(2, Song("end")));  // inserting at Count() is not allowed
  EXPECT_FALSE(list.Insert(-1, Song("x")));
  EXPECT_FALSE(list.Modified());
  EXPECT_TRUE(list.Insert(1, Song("b")));
  EXPECT_TRUE(list.Modified());
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(NameAt(list, 0), "a");
  EXPECT_EQ(NameAt(list, 1), "b");
  EXPECT_EQ(NameAt(list, 2), "c");

  while (!list.Full()) list.Append(Song("fill"));
  EXPECT_FALSE(list.Insert(0, Song("x")));
}

TEST(PlayListTest, DeleteMovesTheFollowingEntriesDown) {
  CPlayList list;
  for (const char* name : {"a", "b", "c"}) list.Append(Song(name));
  list.SetModified(false);
  EXPECT_FALSE(list.Delete(3));
  EXPECT_FALSE(list.Delete(-1));
  EXPECT_FALSE(list.Modified());
  EXPECT_TRUE(list.Delete(0));
  EXPECT_TRUE(list.Modified());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(NameAt(list, 0), "b");
  EXPECT_EQ(NameAt(list, 1), "c");
}

TEST(PlayListTest, ClearEmptiesEverythingButTheFileNameAndReseeds) {
  int reseeds = 0;
  CPlayList list(std::make_unique<test::ScriptedRandom>(std::vector<std::uint32_t>{1}, &reseeds));
  reseeds = 0;
  list.SetFileName("/lists/a.mlt");
  list.Append(Song("a"));
  list.Append(Song("b"));
  list.ResetOrder(LoopMode::Random);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.Modified());
  EXPECT_EQ(list.CurrentIndex(), -1);
  EXPECT_EQ(list.History()[0], CPlayList::kEmptyHistorySlot);
  EXPECT_EQ(list.FileName(), "/lists/a.mlt");
  EXPECT_EQ(reseeds, 2);  // once by the random reset, once by Clear
}

TEST(PlayListTest, CopyTakesEntriesStateAndNameButStartsAFreshHistory) {
  CPlayList source;
  source.SetFileName("/lists/source.mlt");
  for (const char* name : {"a", "b", "c", "d"}) source.Append(Song(name, 64));
  source.SetCurrentIndex(2);

  int reseeds = 0;
  CPlayList copy(std::make_unique<test::ScriptedRandom>(std::vector<std::uint32_t>{3}, &reseeds));
  copy.Append(Song("old"));
  copy.ResetOrder(LoopMode::Random);
  ASSERT_EQ(copy.History()[0], 0);
  copy.CopyFrom(source);

  EXPECT_EQ(copy.FileName(), "/lists/source.mlt");
  ASSERT_EQ(copy.Count(), 4);
  EXPECT_EQ(NameAt(copy, 3), "d");
  EXPECT_EQ(copy.Entry(3).volume, 64);
  EXPECT_TRUE(copy.Modified());
  EXPECT_EQ(copy.CurrentIndex(), 2);
  EXPECT_EQ(copy.History()[0], CPlayList::kEmptyHistorySlot);
  EXPECT_EQ(reseeds, 2);
}

}  // namespace
}  // namespace velvasto
