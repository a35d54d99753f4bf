#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/text_codec.h"
#include "core/text_line.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using namespace std::string_literals;

const std::string kReplacement = "\xEF\xBF\xBD";

// "日本語のタイトル　ＳＣ－８８ｱ" in CP932 and in UTF-8.
const std::string kJapaneseCp932 =
    "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x5E\x83\x43\x83\x67\x83\x8B\x81\x40\x82\x72\x82\x62\x81\x7C\x82\x57\x82\x57"
    "\xB1";
const std::string kJapaneseUtf8 = "日本語のタイトル　ＳＣ－８８ｱ";

TEST(TextCodecTest, JapaneseTextRoundTrips) {
  EXPECT_EQ(Cp932ToUtf8(kJapaneseCp932), kJapaneseUtf8);
  EXPECT_EQ(Utf8ToCp932(kJapaneseUtf8), kJapaneseCp932);
  EXPECT_EQ(Cp932ToUtf8("C:\\MIDI\\~a.rcp"), "C:\\MIDI\\~a.rcp") << "0x5C stays a backslash";
  EXPECT_EQ(Cp932ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp932(""), "");
}

TEST(TextCodecTest, BadBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("a\x82"), "a" + kReplacement) << "lead byte cut off by the end";
  EXPECT_EQ(Cp932ToUtf8("\x82 A"), kReplacement + " A") << "the blank after a bad lead byte is kept";
  EXPECT_EQ(Cp932ToUtf8("\xFD\x93\xFA\x80"), kReplacement + "日" + kReplacement);
  EXPECT_EQ(Cp932ToUtf8("\0x"s), "\0x"s);
  // Only the bytes of the view are read, not the rest of the string behind it.
  const std::string longer = "\x93\xFA";
  EXPECT_EQ(Cp932ToUtf8(std::string_view(longer).substr(0, 1)), kReplacement);
}

TEST(TextCodecTest, CharactersWithoutCp932FormAreRefused) {
  EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9"), std::nullopt);   // é
  EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x8E\xB5"), std::nullopt);  // 🎵
  EXPECT_EQ(Utf8ToCp932("bad \xE6\x97"), std::nullopt);  // truncated UTF-8
  EXPECT_EQ(Utf8ToCp932("bad \xFF"), std::nullopt);
}

// Reads every line of `bytes` as ReadTextLine gives them, with the result of each call.
std::vector<std::pair<std::string, bool>> ReadLines(const std::string& bytes, std::size_t maxChars = 5000) {
  test::TempDir dir;
  const auto path = dir.Write("lines.txt", bytes);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  std::vector<std::pair<std::string, bool>> lines;
  while (true) {
    std::string line = "stale";
    const bool more = ReadTextLine(file.get(), line, maxChars);
    lines.emplace_back(line, more);
    if (!more && std::feof(file.get())) return lines;
  }
}

using Lines = std::vector<std::pair<std::string, bool>>;

TEST(TextLineTest, CrLfAndLfReadTheSame) {
  EXPECT_EQ(ReadLines("one\r\ntwo\nth\rree\r\n"), (Lines{{"one", true}, {"two", true}, {"three", true}, {"", false}}));
}

TEST(TextLineTest, LastLineWithoutLfComesWithFalse) {
  EXPECT_EQ(ReadLines("one\nlast"), (Lines{{"one", true}, {"last", false}}));
  EXPECT_EQ(ReadLines(""), (Lines{{"", false}}));
}

TEST(TextLineTest, EndOfFileMarkEndsTheLineAndIsConsumed) {
  EXPECT_EQ(ReadLines("ab\x1A" "cd\n"), (Lines{{"ab", false}, {"cd", true}, {"", false}}));
}

TEST(TextLineTest, LongLinesKeepTheirFirst4095Bytes) {
  std::string longLine;
  for (int i = 0; i < 5000; ++i) longLine += static_cast<char>('a' + i % 26);
  EXPECT_EQ(ReadLines(longLine + "\r\nnext\n"),
            (Lines{{longLine.substr(0, 4095), true}, {"next", true}, {"", false}}));
  // A double-byte character cut by the limit leaves its lead byte alone.
  EXPECT_EQ(ReadLines(std::string(4094, 'x') + "\x93\xFA\n"),
            (Lines{{std::string(4094, 'x') + kReplacement, true}, {"", false}}));
}

TEST(TextLineTest, LinesAreConvertedAndCutToWholeCharacters) {
  EXPECT_EQ(ReadLines("\x93\xFA\x96\x7B\x8C\xEA\n", 3), (Lines{{"日本", true}, {"", false}}));
  EXPECT_EQ(ReadLines("abc\n", 1), (Lines{{"", true}, {"", false}}));
  EXPECT_EQ(ReadLines("abc\n", 0), (Lines{{"", true}, {"", false}}));
}

}  // namespace
}  // namespace velvasto
