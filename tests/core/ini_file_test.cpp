#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <iterator>
#include <filesystem>
#include <string>

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

// How many entries `folder` holds, to see that no temporary file is left behind.
long EntriesIn(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); }

TEST(IniFileTest, ValuesAreReadByPrivateProfileRules) {
  for (const auto& [value, number] : std::initializer_list<std::pair<std::string, int>>{
           {"  -12abc", -12}, {"abc", 5}, {"+7", 7}, {"-", 5}, {"", 5}, {"1 2", 1}, {"4294967295", -1}}) {
    EXPECT_EQ(Parsed("[S]\nk=" + value).GetInt("S", "k", 5), number) << value;
  }
  std::string kana;
  for (int i = 0; i < 300; ++i) kana += "あ";
  for (const auto& [value, text] : std::initializer_list<std::pair<std::string, std::string>>{
           {" a b \t", "a b"}, {"\"x y\"", "x y"}, {"\"x'", "\"x'"}, {kana, kana.substr(0, 3 * 260)}}) {
    EXPECT_EQ(Parsed("[S]\nk =" + value).GetString("S", "k", "d"), text) << "cut to 260 characters";
  }
  EXPECT_EQ(Parsed("").GetString("S", "k", std::string(270, 'w')), std::string(260, 'w'));
}

TEST(IniFileTest, NamesIgnoreAsciiCaseAndFirstDuplicatesWin) {
  const std::string text = "Loose=1\n[velvasto]\n; Volume Value=1\nvolume VALUE=90\nVolume Value=80\n"
                           "no equals sign\n[VELVASTO]\nOther=3\n";
  IniFile file = Parsed(text);
  EXPECT_EQ(file.GetInt("Velvasto", "Volume Value", 0), 90);
  EXPECT_EQ(file.GetInt("Velvasto", "Other", -1), -1) << "only the first section of a name is read";
  EXPECT_EQ(file.GetInt("Velvasto", "Loose", -1), -1) << "keys before any section belong to none";
  EXPECT_EQ(file.GetString("Velvasto", "no equals sign", "d"), "d");
  EXPECT_TRUE(file.HasKey("VELVASTO", "volume value"));
  EXPECT_FALSE(file.HasKey("Velvasto", "Loose") || file.HasKey("Velvasto", "no equals sign") ||
               file.HasKey("Velvasto", "Other"));
  EXPECT_TRUE(Parsed("[S]\nk=\n").HasKey("S", "k")) << "an empty value is still a stored key";
  ASSERT_TRUE(file.SetString("VELVASTO", "VOLUME VALUE", "10"));
  EXPECT_EQ(file.Text(), std::string(text).replace(text.find("=90"), 3, "=10"));
}

TEST(IniFileTest, WritesKeepEverythingElseByteForByte) {
  const std::string junk = "\xEF\xBB\xBF; c\r\n[x\n  =v\n\x1A\x00\xFF junk\r\nlast=2\r"s;
  EXPECT_EQ(Parsed(junk).Text(), junk);
  EXPECT_EQ(Parsed(junk).GetInt("x", "last", 0), 2);

  IniFile file = Parsed("\xEF\xBB\xBF; comment\r\n[Velvasto]\r\nPOS-X = 10\r\nPOS-Y=20\r\n; trailing\r\n\r\n"
                        "[Other]\r\nPOS-X=99");
  ASSERT_TRUE(file.SetString("Velvasto", "pos-x", "-5"));
  ASSERT_TRUE(file.SetString("Velvasto", "Timer Period", "5"));
  ASSERT_TRUE(file.SetString("Other", "Added", ""));
  ASSERT_TRUE(file.SetString("New", "Key", "value"));
  EXPECT_EQ(file.Text(),
            "\xEF\xBB\xBF; comment\r\n[Velvasto]\r\nPOS-X = -5\r\nPOS-Y=20\r\nTimer Period=5\r\n; trailing\r\n\r\n"
            "[Other]\r\nPOS-X=99\r\nAdded=\r\n\r\n[New]\r\nKey=value\r\n");
}

TEST(IniFileTest, NewFileUsesLfAndRefusesWhatTheFormatCannotHold) {
  IniFile file;
  ASSERT_TRUE(file.SetString("Velvasto", "Monitor Port", "1"));
  EXPECT_FALSE(file.SetString("Velvasto", "Key", "two\nlines"));
  EXPECT_FALSE(file.SetString("Velvasto", "a=b", "1"));
  EXPECT_FALSE(file.SetString("Velvasto", "[section", "1"));
  EXPECT_FALSE(file.SetString("Velvasto", " padded", "1"));
  EXPECT_FALSE(file.SetString("Sec]tion", "Key", "1"));
  EXPECT_EQ(file.Text(), "[Velvasto]\nMonitor Port=1\n");
}

TEST(IniFileTest, MissingFileLoadsEmptyButAFolderOrAHugeFileFails) {
  test::TempDir dir;
  IniFile missing(dir.Path() / "none.ini");
  EXPECT_TRUE(missing.Load());
  EXPECT_FALSE(IniFile(dir.Path()).Load());
  IniFile huge(dir.Write("huge.ini", std::string(IniFile::kMaxFileBytes + 1, ';')));
  EXPECT_FALSE(huge.Load());
  EXPECT_EQ(huge.Text(), "");
}

TEST(IniFileTest, SaveReplacesTheFileWholeOrNotAtAll) {
  test::TempDir dir;
  const fs::path real = dir.Write("real.ini", "[Velvasto]\nA=1\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  const fs::path link = dir.Path() / "link.ini";
  fs::create_symlink(real, link);
  IniFile file(link);
  ASSERT_TRUE(file.Load());
  ASSERT_TRUE(file.SetString("Velvasto", "Long", std::string(200, 'x')));
  {
    const test::FileSizeLimit limit(64);  // the new text does not fit: the write fails
    EXPECT_FALSE(file.Save());
  }
  EXPECT_EQ(test::ReadWholeFile(real), "[Velvasto]\nA=1\n");
  EXPECT_EQ(EntriesIn(dir.Path()), 2);

  ASSERT_TRUE(file.SetString("Velvasto", "A", "2"));
  ASSERT_TRUE(file.Save());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadWholeFile(real), "[Velvasto]\nA=2\nLong=" + std::string(200, 'x') + "\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(EntriesIn(dir.Path()), 2);

  const fs::path blocked = dir.Path() / "blocked.ini";  // the rename fails onto a non-empty folder
  fs::create_directories(blocked / "inside");
  IniFile onFolder(blocked);
  ASSERT_TRUE(onFolder.SetString("Velvasto", "A", "1"));
  EXPECT_FALSE(onFolder.Save());
  EXPECT_EQ(EntriesIn(dir.Path()), 3);
}

}  // namespace
}  // namespace velvasto
