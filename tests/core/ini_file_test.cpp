#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/file_size_limit.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

IniFile Parsed(std::string_view text) {
  IniFile file;
  file.Parse(text);
  return file;
}

std::string Repeat(std::string_view unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

// Names of the files in `folder`, to see that no temporary file is left behind.
std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(IniFileTest, IntegersAreReadByPrivateProfileRules) {
  const IniFile file = Parsed(
      "[Velvasto]\n"
      "lead=  -12abc\n"
      "word=abc\n"
      "plus=+7\n"
      "empty=\n"
      "sign=-\n"
      "inner=1 2\n"
      "wrap=4294967295\n"
      "big=300\n");
  EXPECT_EQ(file.GetInt("Velvasto", "lead", 5), -12);
  EXPECT_EQ(file.GetInt("Velvasto", "word", 5), 5);
  EXPECT_EQ(file.GetInt("Velvasto", "plus", 5), 7);
  EXPECT_EQ(file.GetInt("Velvasto", "empty", 5), 5);
  EXPECT_EQ(file.GetInt("Velvasto", "sign", 5), 5);
  EXPECT_EQ(file.GetInt("Velvasto", "inner", 5), 1);
  EXPECT_EQ(file.GetInt("Velvasto", "wrap", 5), -1);
  EXPECT_EQ(file.GetInt("Velvasto", "big", 5), 300);
  EXPECT_EQ(file.GetInt("Velvasto", "missing", 255), 255);
  EXPECT_EQ(file.GetInt("Other", "lead", 127), 127);
}

TEST(IniFileTest, StringsAreTrimmedUnquotedAndCutTo260Characters) {
  const std::string kana = Repeat("\xE3\x81\x82", 300);  // 300 × あ
  const IniFile file = Parsed("[S]\nspaced =  a b \t\nquoted=\"x y\"\nodd=\"x'\nlong=" + Repeat("z", 300) +
                              "\nkana=" + kana + "\n");
  EXPECT_EQ(file.GetString("S", "spaced", "d"), "a b");
  EXPECT_EQ(file.GetString("S", "quoted", "d"), "x y");
  EXPECT_EQ(file.GetString("S", "odd", "d"), "\"x'");
  EXPECT_EQ(file.GetString("S", "long", "d"), Repeat("z", 260));
  EXPECT_EQ(file.GetString("S", "kana", "d"), Repeat("\xE3\x81\x82", 260));
  EXPECT_EQ(file.GetString("S", "missing", Repeat("w", 270)), Repeat("w", 260));
}

TEST(IniFileTest, NamesIgnoreAsciiCaseAndFirstDuplicatesWin) {
  IniFile file = Parsed(
      "Loose=1\n"
      "[velvasto]\n"
      "; Volume Value=1\n"
      "volume VALUE=90\n"
      "Volume Value=80\n"
      "no equals sign\n"
      "[VELVASTO]\n"
      "Volume Value=70\n"
      "Other=3\n");
  EXPECT_EQ(file.GetInt("Velvasto", "Volume Value", 0), 90);
  EXPECT_EQ(file.GetInt("Velvasto", "Other", -1), -1) << "only the first section of a name is read";
  EXPECT_EQ(file.GetInt("Velvasto", "Loose", -1), -1) << "keys before any section belong to none";
  EXPECT_EQ(file.GetString("Velvasto", "no equals sign", "d"), "d");

  ASSERT_TRUE(file.SetString("VELVASTO", "VOLUME VALUE", "10"));
  EXPECT_EQ(file.Text(),
            "Loose=1\n"
            "[velvasto]\n"
            "; Volume Value=1\n"
            "volume VALUE=10\n"
            "Volume Value=80\n"
            "no equals sign\n"
            "[VELVASTO]\n"
            "Volume Value=70\n"
            "Other=3\n");
}

TEST(IniFileTest, UnchangedTextIsWrittenBackByteForByte) {
  const std::string text =
      "\xEF\xBB\xBF; settings\r\n[Velvasto]\r\nA = 1\nB\r\n\r\n[x\n  =v\n\x1A\x00\xFF junk\r\nlast=2\r"s;
  const IniFile file = Parsed(text);
  EXPECT_EQ(file.Text(), text);
  EXPECT_EQ(file.GetInt("Velvasto", "A", 0), 1);
  EXPECT_EQ(file.GetInt("x", "last", 0), 2);
}

TEST(IniFileTest, WritesKeepCommentsOtherSectionsAndLineOrder) {
  IniFile file = Parsed(
      "\xEF\xBB\xBF"
      "; comment\r\n"
      "[Velvasto]\r\n"
      "POS-X = 10\r\n"
      "POS-Y=20\r\n"
      "; trailing comment of the section\r\n"
      "\r\n"
      "[Other]\r\n"
      "POS-X=99");
  ASSERT_TRUE(file.SetString("Velvasto", "pos-x", "-5"));
  ASSERT_TRUE(file.SetString("Velvasto", "Timer Period", "5"));
  ASSERT_TRUE(file.SetString("Other", "Added", ""));
  ASSERT_TRUE(file.SetString("New", "Key", "value"));
  EXPECT_EQ(file.Text(),
            "\xEF\xBB\xBF"
            "; comment\r\n"
            "[Velvasto]\r\n"
            "POS-X = -5\r\n"
            "POS-Y=20\r\n"
            "Timer Period=5\r\n"
            "; trailing comment of the section\r\n"
            "\r\n"
            "[Other]\r\n"
            "POS-X=99\r\n"
            "Added=\r\n"
            "\r\n"
            "[New]\r\n"
            "Key=value\r\n");
}

TEST(IniFileTest, NewFileUsesLfAndRefusesWhatTheFormatCannotHold) {
  IniFile file;
  ASSERT_TRUE(file.SetString("Velvasto", "Monitor Port", "1"));
  for (const auto& [section, key, value] : std::initializer_list<std::tuple<std::string, std::string, std::string>>{
           {"Velvasto", "Key", "two\nlines"},
           {"Velvasto", "Key", "cr\r"},
           {"Velvasto", "a=b", "1"},
           {"Velvasto", ";comment", "1"},
           {"Velvasto", "[section", "1"},
           {"Velvasto", " padded", "1"},
           {"Velvasto", "", "1"},
           {"Sec]tion", "Key", "1"},
           {"", "Key", "1"},
       }) {
    EXPECT_FALSE(file.SetString(section, key, value)) << section << "/" << key;
  }
  EXPECT_EQ(file.Text(), "[Velvasto]\nMonitor Port=1\n");
}

TEST(IniFileTest, MissingFileLoadsEmptyButAnUnreadableOneFails) {
  test::TempDir dir;
  IniFile missing(dir.Path() / "none.ini");
  EXPECT_TRUE(missing.Load());
  EXPECT_EQ(missing.Text(), "");

  IniFile folder(dir.Path());
  EXPECT_FALSE(folder.Load());

  IniFile huge(dir.Write("huge.ini", std::string(IniFile::kMaxFileBytes + 1, ';')));
  EXPECT_FALSE(huge.Load());
  EXPECT_EQ(huge.Text(), "");
}

TEST(IniFileTest, SaveReplacesTheFileKeepingItsModeAndSymlink) {
  test::TempDir dir;
  const fs::path real = dir.Write("real.ini", "[Velvasto]\nA=1\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  const fs::path link = dir.Path() / "link.ini";
  fs::create_symlink(real, link);

  IniFile file(link);
  ASSERT_TRUE(file.Load());
  ASSERT_TRUE(file.SetString("Velvasto", "A", "2"));
  ASSERT_TRUE(file.Save());

  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadWholeFile(real), "[Velvasto]\nA=2\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"link.ini", "real.ini"}));
}

TEST(IniFileTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  test::TempDir dir;
  const std::string old = "[Velvasto]\nA=1\n";
  const fs::path path = dir.Write("v.ini", old);
  IniFile file(path);
  ASSERT_TRUE(file.Load());
  ASSERT_TRUE(file.SetString("Velvasto", "Long", std::string(200, 'x')));

  {
    const test::FileSizeLimit limit(64);  // the new text does not fit: the write fails
    EXPECT_FALSE(file.Save());
  }
  EXPECT_EQ(test::ReadWholeFile(path), old);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"v.ini"});

  // The rename fails when a non-empty folder stands at the path.
  const fs::path blocked = dir.Path() / "blocked.ini";
  fs::create_directories(blocked / "inside");
  IniFile onFolder(blocked);
  ASSERT_TRUE(onFolder.SetString("Velvasto", "A", "1"));
  EXPECT_FALSE(onFolder.Save());
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"blocked.ini", "v.ini"}));
}

TEST(IniFileTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheFile) {
  test::TempDir dir;
  const fs::path path = dir.Write("v.ini", "[Velvasto]\nA=1\n");
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  if (access(dir.Path().c_str(), W_OK) == 0) {
    chmod(dir.Path().c_str(), 0755);
    GTEST_SKIP() << "this user may write into read-only folders";
  }
  IniFile file(path);
  ASSERT_TRUE(file.Load());
  ASSERT_TRUE(file.SetString("Velvasto", "A", "2"));
  EXPECT_FALSE(file.Save());
  chmod(dir.Path().c_str(), 0755);
  EXPECT_EQ(test::ReadWholeFile(path), "[Velvasto]\nA=1\n");
}

}  // namespace
}  // namespace velvasto
