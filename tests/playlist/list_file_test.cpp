#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "playlist/list_file.h"
#include "support/file_size_limit.h"
#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::CrLfLines;

const std::string kReadError = "リストファイルの読み込みエラーです。";
const std::string kWriteError = "リストファイルの書き込みエラーです。";

ListEntry Entry(std::filesystem::path path, std::int32_t volume, std::int32_t mapMode, std::int32_t forceMap,
                std::int32_t adjust55) {
  return ListEntry{std::move(path), volume, mapMode, forceMap, adjust55};
}

// Runs `action` and returns the text of the CErrMessage it throws ("" when none).
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const CErrMessage& e) {
    return e.Message();
  }
  return "";
}

// A folder with song files a.mid, b.mid, ... that list files can name.
struct SongFolder {
  explicit SongFolder(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) dir.Write(name, "MThd");
  }
  std::string Song(std::string_view name) const { return (dir.Path() / name).string(); }
  test::TempDir dir;
};

std::vector<std::string> Names(const CPlayList& list) {
  std::vector<std::string> names;
  for (const auto& entry : list.Entries()) names.push_back(entry.path.filename().string());
  return names;
}

TEST(ListFileTest, WritesVersion3ByteForByteInCp932) {
  test::TempDir dir;
  CPlayList list;
  list.Append(Entry("/music/曲ソ.mid", 100, 1, 2, 1));
  list.Append(Entry("/music/b.rcp", 0, -3, 0, 0));
  const auto file = dir.Path() / "out.mlt";
  SaveListFile(list, file);

  const std::string expected =
      "[Velvasto List File Version 3.0]\r\n"
      "\r\n"
      "[FileName]\r\n"
      "\r\n"
      "/music/\x8b\xc8\x83\x5c.mid\r\n"
      "/music/b.rcp\r\n"
      "\r\n"
      "[Section END]\r\n"
      "\r\n"
      "[Volume]\r\n\r\n100\r\n0\r\n\r\n[Section END]\r\n"
      "\r\n"
      "[MapMode]\r\n\r\n1\r\n-3\r\n\r\n[Section END]\r\n"
      "\r\n"
      "[ForceMap]\r\n\r\n2\r\n0\r\n\r\n[Section END]\r\n"
      "\r\n"
      "[55Adjust]\r\n\r\n1\r\n0\r\n\r\n[Section END]\r\n";
  EXPECT_EQ(test::ReadWholeFile(file), expected);
  EXPECT_EQ(list.FileName(), file);
  EXPECT_FALSE(list.Modified());
}

TEST(ListFileTest, AnEmptyListIsWrittenWithEverySection) {
  CPlayList list;
  EXPECT_EQ(ListFileBytes(list),
            "[Velvasto List File Version 3.0]\r\n\r\n"
            "[FileName]\r\n\r\n\r\n[Section END]\r\n\r\n"
            "[Volume]\r\n\r\n\r\n[Section END]\r\n\r\n"
            "[MapMode]\r\n\r\n\r\n[Section END]\r\n\r\n"
            "[ForceMap]\r\n\r\n\r\n[Section END]\r\n\r\n"
            "[55Adjust]\r\n\r\n\r\n[Section END]\r\n");
}

TEST(ListFileTest, Version2IsReadAndSavedAsVersion3WithForceMapZero) {
  SongFolder songs{"a.mid", "曲.rcp"};
  const auto file = songs.dir.Write(
      "old.mlt", CrLfLines({"[Velvasto List File Version 2.0]", "", "[FileName]", "", songs.Song("a.mid"),
                            test::Cp932(songs.Song("曲.rcp")), "", "[Section END]", "", "[Volume]", "", "90", "80",
                            "", "[Section END]", "", "[55Map]", "", "3", "1", "", "[Section END]", "", "[55Adjust]",
                            "", "1", "0", "", "[Section END]"}));
  CPlayList list;
  LoadListFile(list, file, ListLoadMode::Replace, 127);
  ASSERT_EQ(Names(list), (std::vector<std::string>{"a.mid", "曲.rcp"}));
  EXPECT_EQ(list.Entry(0).volume, 90);
  EXPECT_EQ(list.Entry(0).mapMode, 3);
  EXPECT_EQ(list.Entry(0).adjust55, 1);
  EXPECT_EQ(list.Entry(1).volume, 80);
  EXPECT_EQ(list.Entry(1).mapMode, 1);
  EXPECT_EQ(list.Entry(1).forceMap, 0);
  EXPECT_FALSE(list.Modified());

  SaveListFile(list);
  const std::string saved = test::ReadWholeFile(file);
  EXPECT_EQ(saved.substr(0, 34), "[Velvasto List File Version 3.0]\r\n");
  EXPECT_NE(saved.find("[MapMode]\r\n\r\n3\r\n1\r\n\r\n[Section END]\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[ForceMap]\r\n\r\n0\r\n0\r\n\r\n[Section END]\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("[55Map]"), std::string::npos);
}

TEST(ListFileTest, MissingFilesAreDroppedAndTheirValuesShiftToTheNextEntry) {
  SongFolder songs{"a.mid", "c.mid"};
  const auto file = songs.dir.Write(
      "shift.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", songs.Song("a.mid"),
                              songs.Song("gone.mid"), songs.Song("c.mid"), "", "[Section END]", "", "[Volume]", "",
                              "10", "20", "30", "", "[Section END]", "", "[MapMode]", "", "1", "2", "3", "",
                              "[Section END]", "", "[ForceMap]", "", "4", "5", "6", "", "[Section END]", "",
                              "[55Adjust]", "", "1", "0", "1", "", "[Section END]"}));
  CPlayList list;
  LoadListFile(list, file, ListLoadMode::Replace, 127);
  ASSERT_EQ(Names(list), (std::vector<std::string>{"a.mid", "c.mid"}));
  EXPECT_EQ(list.Entry(0).volume, 10);
  EXPECT_EQ(list.Entry(1).volume, 20);  // the value written for gone.mid
  EXPECT_EQ(list.Entry(1).mapMode, 2);
  EXPECT_EQ(list.Entry(1).forceMap, 5);
  EXPECT_EQ(list.Entry(1).adjust55, 0);
}

TEST(ListFileTest, AppendingToA1020EntryListAddsFourAndStopsReadingNames) {
  SongFolder songs{"a.mid", "b.mid", "c.mid", "d.mid", "e.mid", "f.mid"};
  const auto file = songs.dir.Write(
      "six.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", songs.Song("a.mid"),
                            songs.Song("b.mid"), songs.Song("c.mid"), songs.Song("d.mid"), songs.Song("e.mid"),
                            songs.Song("f.mid"), "", "[Section END]", "", "[Volume]", "", "1", "2", "3", "4", "5",
                            "6", "", "[Section END]"}));
  CPlayList list;
  for (int i = 0; i < 1020; ++i) list.Append(Entry("/old/" + std::to_string(i), 64, 0, 0, 0));
  list.SetModified(false);
  LoadListFile(list, file, ListLoadMode::Append, 127);
  ASSERT_EQ(list.Count(), 1024);
  EXPECT_EQ(list.Entry(1019).path, "/old/1019");
  EXPECT_EQ(list.Entry(1019).volume, 64);
  EXPECT_EQ(list.Entry(1020).path.filename(), "a.mid");
  EXPECT_EQ(list.Entry(1023).path.filename(), "d.mid");
  EXPECT_EQ(list.Entry(1020).volume, 1);
  EXPECT_EQ(list.Entry(1023).volume, 4);
  EXPECT_FALSE(list.Modified());
  EXPECT_EQ(list.FileName(), file);
}

TEST(ListFileTest, AfterAnAppendLoadAPlainSaveWritesTheCombinedListToTheAppendedFile) {
  SongFolder songs{"a.mid", "b.mid"};
  const auto first = songs.dir.Write(
      "first.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", songs.Song("a.mid"), "",
                              "[Section END]"}));
  const auto second = songs.dir.Write(
      "second.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", songs.Song("b.mid"), "",
                               "[Section END]"}));
  CPlayList list;
  LoadListFile(list, first, ListLoadMode::Replace, 50);
  LoadListFile(list, second, ListLoadMode::Append, 60);
  SaveListFile(list);
  CPlayList reread;
  LoadListFile(reread, second, ListLoadMode::Replace, 127);
  EXPECT_EQ(Names(reread), (std::vector<std::string>{"a.mid", "b.mid"}));
  EXPECT_EQ(reread.Entry(0).volume, 50);  // values of the sections that were missing: the defaults
  EXPECT_EQ(reread.Entry(1).volume, 60);
}

TEST(ListFileTest, ALastLineWithoutLineEndAndTextAfterTheEndMarkAreNotRead) {
  SongFolder songs{"a.mid", "b.mid"};
  const auto unended = songs.dir.Write(
      "unended.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", songs.Song("a.mid"), "",
                                "[Section END]", "", "[Volume]", "", "7"}) + "[Section END]\r\n\r\n[MapMode]\r\n\r\n9");
  CPlayList list;
  LoadListFile(list, unended, ListLoadMode::Replace, 127);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Entry(0).volume, 7);
  EXPECT_EQ(list.Entry(0).mapMode, 0);

  const auto lastName = songs.dir.Write(
      "lastname.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", songs.Song("a.mid")}) +
                          songs.Song("b.mid"));
  LoadListFile(list, lastName, ListLoadMode::Replace, 127);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.mid"}));

  const auto marked = songs.dir.Write(
      "marked.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", songs.Song("a.mid")}) + "\x1a" +
                        CrLfLines({songs.Song("b.mid")}));
  LoadListFile(list, marked, ListLoadMode::Replace, 127);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.mid"}));
}

TEST(ListFileTest, ValuesAreReadLikeAtoiAndSectionsOnlyForward) {
  SongFolder songs{"a.mid", "b.mid", "c.mid"};
  const auto file = songs.dir.Write(
      "values.mlt",
      CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", "  " + songs.Song("a.mid") + "\t",
                 songs.Song("b.mid"), songs.Song("c.mid"), "", "[Section END]", "", "[Volume]", "", "  -5x", "",
                 "+12", "abc", "99", "[Section END]",
                 // [ForceMap] before [MapMode]: searching for [MapMode] passes it, then nothing later is found
                 "[ForceMap]", "", "7", "7", "7", "[Section END]", "[MapMode]", "", "1", "[Section END]", "2", "",
                 "[55Adjust]", "", "1", "1", "1", "[Section END]"}));
  CPlayList list;
  LoadListFile(list, file, ListLoadMode::Replace, 127);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Entry(0).volume, -5);
  EXPECT_EQ(list.Entry(1).volume, 12);
  EXPECT_EQ(list.Entry(2).volume, 0);
  // [MapMode] ends after one value; the rest keep their defaults, and the surplus "2" is skipped.
  EXPECT_EQ(list.Entry(0).mapMode, 1);
  EXPECT_EQ(list.Entry(1).mapMode, 0);
  EXPECT_EQ(list.Entry(0).forceMap, 0);
  EXPECT_EQ(list.Entry(0).adjust55, 0);
}

TEST(ListFileTest, LoadFailuresRaise62019) {
  SongFolder songs{"a.mid"};
  CPlayList list;
  const auto missing = songs.dir.Path() / "missing.mlt";
  EXPECT_EQ(ErrorOf([&] { LoadListFile(list, missing, ListLoadMode::Replace, 127); }), kReadError);
  EXPECT_EQ(list.FileName(), missing);

  const auto noMagic = songs.dir.Write("nomagic.mlt", CrLfLines({"[Velvasto List File Version 4.0]", "[FileName]"}));
  EXPECT_EQ(ErrorOf([&] { LoadListFile(list, noMagic, ListLoadMode::Replace, 127); }), kReadError);

  list.Append(Entry(songs.Song("a.mid"), 1, 0, 0, 0));
  const auto noNames = songs.dir.Write("nonames.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[Volume]"}));
  EXPECT_EQ(ErrorOf([&] { LoadListFile(list, noNames, ListLoadMode::Append, 127); }), kReadError);
  EXPECT_EQ(list.Count(), 1);  // what the list held stays
}

TEST(ListFileTest, ASaveThatFailsLeavesTheOldFileAndTheModifiedFlag) {
  test::TempDir dir;
  const std::string oldBytes = CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]"});
  const auto file = dir.Write("keep.mlt", oldBytes);

  CPlayList list;
  list.SetFileName(file);
  list.Append(Entry("/music/" + std::string(253, 'x'), 127, 0, 0, 0));  // 260 characters: fine
  EXPECT_EQ(ErrorOf([&] { ListFileBytes(list); }), "");
  list.Append(Entry("/music/" + std::string(200, 'y'), 127, 0, 0, 0));
  list.Append(Entry("/music/" + std::string(254, 'z'), 127, 0, 0, 0));  // 261 characters
  EXPECT_EQ(ErrorOf([&] { SaveListFile(list); }), kWriteError);
  EXPECT_EQ(test::ReadWholeFile(file), oldBytes);
  EXPECT_TRUE(list.Modified());

  list.Delete(2);
  list.Append(Entry("/music/🎵.mid", 127, 0, 0, 0));  // no CP932 form
  EXPECT_EQ(ErrorOf([&] { SaveListFile(list); }), kWriteError);
  EXPECT_EQ(test::ReadWholeFile(file), oldBytes);

  list.Delete(2);
  list.Append(Entry("/music/two\nlines.mid", 127, 0, 0, 0));
  EXPECT_EQ(ErrorOf([&] { SaveListFile(list); }), kWriteError);
  EXPECT_EQ(test::ReadWholeFile(file), oldBytes);

  list.Delete(2);
  {
    // The disk refuses the write half-way through.
    const test::FileSizeLimit limit(100);
    EXPECT_EQ(ErrorOf([&] { SaveListFile(list); }), kWriteError);
  }
  EXPECT_EQ(test::ReadWholeFile(file), oldBytes);
  EXPECT_TRUE(list.Modified());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);

  EXPECT_EQ(ErrorOf([&] { SaveListFile(list, dir.Path() / "no such folder" / "x.mlt"); }), kWriteError);
  SaveListFile(list, file);
  EXPECT_FALSE(list.Modified());
  EXPECT_EQ(test::ReadWholeFile(file), ListFileBytes(list));
}

}  // namespace
}  // namespace velvasto
