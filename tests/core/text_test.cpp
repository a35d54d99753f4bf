#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/text_codec.h"
#include "core/text_line.h"

namespace velvasto {
namespace {

using namespace std::string_literals;

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TextCodecTest, JapaneseTextRoundTrips) {
  // "日本語のタイトル　ＳＣ－８８ｱ" in CP932.
  const std::string cp932 = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x5E\x83\x43\x83\x67\x83\x8B\x81\x40\x82\x72\x82\x62"
                            "\x81\x7C\x82\x57\x82\x57\xB1";
  EXPECT_EQ(Cp932ToUtf8(cp932), "日本語のタイトル　ＳＣ－８８ｱ");
  EXPECT_EQ(Utf8ToCp932("日本語のタイトル　ＳＣ－８８ｱ"), cp932);
  EXPECT_EQ(Cp932ToUtf8("C:\\MIDI\\~a.rcp"), "C:\\MIDI\\~a.rcp") << "0x5C stays a backslash";
}

TEST(TextCodecTest, BadBytesBecomeReplacementCharactersAndUnmappableTextIsRefused) {
  EXPECT_EQ(Cp932ToUtf8("a\x82"), "a" + kReplacement) << "lead byte cut off by the end";
  EXPECT_EQ(Cp932ToUtf8("\x82 A"), kReplacement + " A") << "the blank after a bad lead byte is kept";
  EXPECT_EQ(Cp932ToUtf8("\xFD\x93\xFA\x80"), kReplacement + "日" + kReplacement);
  EXPECT_EQ(Cp932ToUtf8("\0x"s), "\0x"s);
  const std::string longer = "\x93\xFA";  // only the bytes of the view are read
  EXPECT_EQ(Cp932ToUtf8(std::string_view(longer).substr(0, 1)), kReplacement);

  EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x8E\xB5"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("bad \xE6\x97"), std::nullopt) << "truncated UTF-8";
}

using Lines = std::vector<std::pair<std::string, bool>>;

// Reads every line of `bytes` as ReadTextLine gives them, with the result of each call.
Lines ReadLines(std::string bytes, std::size_t maxChars = 5000) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(bytes.data(), bytes.size(), "rb"), std::fclose);
  Lines lines;
  while (true) {
    std::string line = "stale";
    const bool more = ReadTextLine(file.get(), line, maxChars);
    lines.emplace_back(line, more);
    if (!more && std::feof(file.get())) return lines;
  }
}

TEST(TextLineTest, LineEndsAndTheEndOfFileMark) {
  EXPECT_EQ(ReadLines("one\r\ntwo\nth\rree\r\n"), (Lines{{"one", true}, {"two", true}, {"three", true}, {"", false}}));
  EXPECT_EQ(ReadLines("one\nlast"), (Lines{{"one", true}, {"last", false}}));
  EXPECT_EQ(ReadLines("ab\x1A" "cd\n"), (Lines{{"ab", false}, {"cd", true}, {"", false}}));
}

TEST(TextLineTest, LongLinesAreCutToWholeCharacters) {
  std::string longLine;
  for (int i = 0; i < 5000; ++i) longLine += static_cast<char>('a' + i % 26);
  EXPECT_EQ(ReadLines(longLine + "\r\nnext\n"), (Lines{{longLine.substr(0, 4095), true}, {"next", true}, {"", false}}));
  EXPECT_EQ(ReadLines(std::string(4094, 'x') + "\x93\xFA\n"),
            (Lines{{std::string(4094, 'x') + kReplacement, true}, {"", false}}))
      << "a double-byte character cut by the byte limit leaves its lead byte alone";
  EXPECT_EQ(ReadLines("\x93\xFA\x96\x7B\x8C\xEA\n", 3), (Lines{{"日本", true}, {"", false}}));
}

}  // namespace
}  // namespace velvasto
