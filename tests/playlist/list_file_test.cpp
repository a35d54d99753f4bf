#include "playlist/list_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "support/file_size_limit.h"
#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;
using Sections = std::vector<std::pair<std::string, std::vector<std::string>>>;

const std::string kReadError = "リストファイルの読み込みエラーです。";
const std::string kWriteError = "リストファイルの書き込みエラーです。";

// A list file of `version` with `sections` laid out as the writer lays them out.
std::string ListText(std::string_view version, const Sections& sections) {
  std::string text = "[Velvasto List File Version " + std::string(version) + "]\r\n";
  for (const auto& [tag, lines] : sections) {
    text += "\r\n[" + tag + "]\r\n\r\n";
    for (const auto& line : lines) text += line + "\r\n";
    text += "\r\n[Section END]\r\n";
  }
  return text;
}

// Loads list-file bytes; every name has a file except those that contain "gone".
class ListFileTest : public testing::Test {
 protected:
  void Load(const std::string& bytes, ListLoadMode mode = ListLoadMode::Replace, std::int32_t volume = 127) {
    LoadListFile(list_, dir_.Write("in.mlt", bytes), mode, volume, [](std::string_view name) {
      return name.find("gone") == std::string_view::npos ? std::optional<fs::path>(name) : std::nullopt;
    });
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : list_.Entries()) names.push_back(entry.path.string());
    return names;
  }
  // The text of the CErrMessage that `action` throws ("" when none).
  template <typename Action>
  static std::string ErrorOf(Action action) {
    try {
      action();
    } catch (const CErrMessage& e) {
      return e.Message();
    }
    return "";
  }

  test::TempDir dir_;
  CPlayList list_;
};

TEST_F(ListFileTest, WritesVersion3ByteForByteInCp932) {
  list_.Append({"/music/曲ソ.mid", 100, 1, 2, 1});
  list_.Append({"/music/b.rcp", 0, -3, 0, 0});
  const auto file = dir_.Path() / "out.mlt";
  SaveListFile(list_, file);
  EXPECT_EQ(test::ReadWholeFile(file),
            "[Velvasto List File Version 3.0]\r\n\r\n"
            "[FileName]\r\n\r\n/music/\x8b\xc8\x83\x5c.mid\r\n/music/b.rcp\r\n\r\n[Section END]\r\n\r\n"
            "[Volume]\r\n\r\n100\r\n0\r\n\r\n[Section END]\r\n\r\n"
            "[MapMode]\r\n\r\n1\r\n-3\r\n\r\n[Section END]\r\n\r\n"
            "[ForceMap]\r\n\r\n2\r\n0\r\n\r\n[Section END]\r\n\r\n"
            "[55Adjust]\r\n\r\n1\r\n0\r\n\r\n[Section END]\r\n");
  EXPECT_EQ(list_.FileName(), file);
  EXPECT_FALSE(list_.Modified());
}

TEST_F(ListFileTest, Version2IsReadWithItsMapSectionAndSavedAsVersion3) {
  Load(ListText("2.0", {{"FileName", {"a.mid", test::Cp932("曲.rcp")}},
                        {"Volume", {"90", "80"}},
                        {"55Map", {"3", "1"}},
                        {"55Adjust", {"1", "0"}}}));
  ASSERT_EQ(Names(), (std::vector<std::string>{"a.mid", "曲.rcp"}));
  EXPECT_EQ(list_.Entry(1).volume, 80);
  EXPECT_EQ(list_.Entry(1).mapMode, 1);
  EXPECT_EQ(list_.Entry(0).adjust55, 1);
  EXPECT_FALSE(list_.Modified());
  SaveListFile(list_);
  EXPECT_EQ(test::ReadWholeFile(list_.FileName()),
            ListText("3.0", {{"FileName", {"a.mid", test::Cp932("曲.rcp")}},
                             {"Volume", {"90", "80"}},
                             {"MapMode", {"3", "1"}},
                             {"ForceMap", {"0", "0"}},
                             {"55Adjust", {"1", "0"}}}));
}

TEST_F(ListFileTest, MissingFilesAreDroppedAndTheirValuesShiftToTheNextEntry) {
  Load(ListText("3.0", {{"FileName", {"a.mid", "gone.mid", "c.mid"}},
                        {"Volume", {"10", "20", "30"}},
                        {"MapMode", {"4", "5", "6"}}}));
  ASSERT_EQ(Names(), (std::vector<std::string>{"a.mid", "c.mid"}));
  EXPECT_EQ(list_.Entry(1).volume, 20) << "the value written for gone.mid";
  EXPECT_EQ(list_.Entry(1).mapMode, 5);
}

TEST_F(ListFileTest, AppendingToA1020EntryListAddsFourAndTakesTheAppendedFileName) {
  for (int i = 0; i < 1020; ++i) list_.Append({"old", 64});
  list_.SetModified(false);
  Load(ListText("3.0", {{"FileName", {"a", "b", "c", "d", "e"}}, {"Volume", {"1", "2", "3", "4", "5"}}}),
       ListLoadMode::Append);
  ASSERT_EQ(list_.Count(), 1024);
  EXPECT_EQ(list_.Entry(1019).volume, 64);
  EXPECT_EQ(list_.Entry(1020).path, "a");
  EXPECT_EQ(list_.Entry(1023).volume, 4);
  EXPECT_FALSE(list_.Modified());
  EXPECT_EQ(list_.FileName(), dir_.Path() / "in.mlt");
}

TEST_F(ListFileTest, ValuesAreReadLikeAtoiSectionsOnlyForwardAndMissingOnesDefault) {
  Load("[Velvasto List File Version 3.0]\r\n\r\n[FileName]\r\n\r\n  a\t\r\nb\r\nc\r\n\r\n[Section END]\r\n\r\n"
       "[Volume]\r\n\r\n  -5x\r\n\r\n+12\r\nabc\r\n99\r\n[Section END]\r\n"
       // [ForceMap] before [MapMode]: searching for [MapMode] passes it, then nothing later is found
       "[ForceMap]\r\n\r\n7\r\n[Section END]\r\n[MapMode]\r\n\r\n1\r\n[Section END]\r\n2\r\n"
       "[55Adjust]\r\n\r\n1\r\n[Section END]\r\n");
  ASSERT_EQ(Names(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list_.Entry(0).volume, -5);
  EXPECT_EQ(list_.Entry(1).volume, 12);
  EXPECT_EQ(list_.Entry(2).volume, 0);
  EXPECT_EQ(list_.Entry(0).mapMode, 1);
  EXPECT_EQ(list_.Entry(0).forceMap, 0);
  EXPECT_EQ(list_.Entry(0).adjust55, 0);

  Load(ListText("3.0", {{"FileName", {"a"}}}), ListLoadMode::Replace, 50);
  EXPECT_EQ(list_.Entry(0).volume, 50) << "without a [Volume] section, new entries take the given volume";
}

TEST_F(ListFileTest, ALastLineWithoutLineEndAndTextAfterTheEndMarkAreNotRead) {
  Load(ListText("3.0", {{"FileName", {"a"}}}) + "\r\n[Volume]\r\n\r\n7\r\n[Section END]\r\n\r\n[MapMode]\r\n\r\n9");
  EXPECT_EQ(list_.Entry(0).volume, 7);
  EXPECT_EQ(list_.Entry(0).mapMode, 0);
  Load(test::CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "a"}) + "b");
  EXPECT_EQ(Names(), std::vector<std::string>{"a"});
  Load(test::CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "a"}) + "\x1a" + "b\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"a"});
}

TEST_F(ListFileTest, LoadFailuresRaise62019AndKeepTheEntries) {
  list_.Append({"kept"});
  EXPECT_EQ(ErrorOf([&] { LoadListFile(list_, dir_.Path() / "missing.mlt", ListLoadMode::Append, 127); }),
            kReadError);
  EXPECT_EQ(list_.FileName(), dir_.Path() / "missing.mlt");
  EXPECT_EQ(ErrorOf([&] { Load(ListText("4.0", {{"FileName", {"a"}}}), ListLoadMode::Append); }), kReadError);
  EXPECT_EQ(ErrorOf([&] { Load(ListText("3.0", {{"Volume", {"1"}}}), ListLoadMode::Append); }), kReadError);
  EXPECT_EQ(Names(), std::vector<std::string>{"kept"});
}

TEST_F(ListFileTest, ASaveThatFailsLeavesTheOldFileAndTheModifiedFlag) {
  const std::string oldBytes = ListText("3.0", {});
  const auto file = dir_.Write("keep.mlt", oldBytes);
  list_.SetFileName(file);
  list_.Append({"/music/" + std::string(253, 'x')});  // 260 characters: fine
  EXPECT_EQ(ErrorOf([&] { ListFileBytes(list_); }), "");
  for (const std::string& bad :
       {"/music/" + std::string(254, 'z'), std::string("/music/🎵.mid"), std::string("/music/two\nlines.mid")}) {
    list_.Append({bad});
    EXPECT_EQ(ErrorOf([&] { SaveListFile(list_); }), kWriteError) << bad;
    list_.Delete(1);
  }
  {
    const test::FileSizeLimit limit(100);  // the disk refuses the write half-way through
    EXPECT_EQ(ErrorOf([&] { SaveListFile(list_); }), kWriteError);
  }
  EXPECT_EQ(ErrorOf([&] { SaveListFile(list_, dir_.Path() / "no such folder" / "x.mlt"); }), kWriteError);
  EXPECT_EQ(test::ReadWholeFile(file), oldBytes);
  EXPECT_TRUE(list_.Modified());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), {}), 1) << "no temporary file is left";
}

}  // namespace
}  // namespace velvasto
