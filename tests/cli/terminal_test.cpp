#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_file_progress.h"
#include "cli/terminal/key_decoder.h"
#include "cli/terminal/status_format.h"
#include "cli/terminal/text_columns.h"

namespace velvasto::cli {
namespace {

using Keys = std::vector<KeyCommand>;

Keys Decode(KeyDecoder& decoder, std::string_view bytes) {
  Keys keys;
  decoder.Feed({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, keys);
  return keys;
}

Keys Decode(std::string_view bytes) {
  KeyDecoder decoder;
  return Decode(decoder, bytes);
}

TEST(KeyDecoderTest, PlainKeysInEitherCase) {
  EXPECT_EQ(Decode(" rRnNqQ+=-_"),
            (Keys{KeyCommand::PauseResume, KeyCommand::Restart, KeyCommand::Restart, KeyCommand::Next,
                  KeyCommand::Next, KeyCommand::Quit, KeyCommand::Quit, KeyCommand::VolumeUp, KeyCommand::VolumeUp,
                  KeyCommand::VolumeDown, KeyCommand::VolumeDown}));
  EXPECT_EQ(Decode("xyz\r\n\t1"), Keys{});
}

TEST(KeyDecoderTest, ArrowsInNormalApplicationAndModifiedForms) {
  EXPECT_EQ(Decode("\x1b[D\x1b[C\x1bOD\x1bOC\x1b[1;5C\x1b[1;2D"),
            (Keys{KeyCommand::Back, KeyCommand::Forward, KeyCommand::Back, KeyCommand::Forward, KeyCommand::Forward,
                  KeyCommand::Back}));
}

TEST(KeyDecoderTest, OtherSequencesAreSwallowedWholeNotReadAsKeys) {
  // Up, Down, F5 (ESC [ 1 5 ~), Home, Delete: their bytes include letters and digits that must
  // not act as keys (e.g. "q" never appears, but "[" and "~" and "A" do).
  EXPECT_EQ(Decode("\x1b[A\x1b[B\x1b[15~\x1b[H\x1b[3~\x1bOP"), Keys{});
  // A sequence broken off by a control byte: the byte ends it and what follows is read again.
  EXPECT_EQ(Decode("\x1b[1\x1bq"), Keys{KeyCommand::Quit});
  // A lone Escape, then a key.
  EXPECT_EQ(Decode("\x1bq"), Keys{KeyCommand::Quit});
}

TEST(KeyDecoderTest, SequencesSplitAcrossReads) {
  KeyDecoder decoder;
  EXPECT_EQ(Decode(decoder, "\x1b"), Keys{});
  EXPECT_EQ(Decode(decoder, "["), Keys{});
  EXPECT_EQ(Decode(decoder, "1;"), Keys{});
  EXPECT_EQ(Decode(decoder, "5C n"), (Keys{KeyCommand::Forward, KeyCommand::PauseResume, KeyCommand::Next}));
  EXPECT_EQ(Decode(decoder, "\x1bO"), Keys{});
  EXPECT_EQ(Decode(decoder, "D"), Keys{KeyCommand::Back});
}

TEST(TextColumnsTest, WideCharactersTakeTwoColumnsAndCutsStayWithinTheLimit) {
  EXPECT_EQ(ColumnsOf("abc"), 3);
  EXPECT_EQ(ColumnsOf("日本語"), 6);
  EXPECT_EQ(ColumnsOf("ｱｲｳ"), 3);  // half-width katakana
  EXPECT_EQ(ColumnsOf("e\xCC\x81"), 1);  // e + combining acute
  EXPECT_EQ(FitColumns("日本語の曲", 10), "日本語の曲");
  EXPECT_EQ(FitColumns("日本語の曲", 9), "日本語...");
  EXPECT_EQ(FitColumns("日本語の曲", 8), "日本...");  // no half of a wide character
  EXPECT_EQ(FitColumns("abcdef", 5), "ab...");
  EXPECT_EQ(FitColumns("abcdef", 2), "..");
  EXPECT_EQ(FitColumns("abc", 0), "");
}

TEST(TextColumnsTest, ControlCharactersAndBrokenUtf8NeverReachTheTerminal) {
  // An escape sequence in a title would clear the screen; CR would overwrite the line.
  EXPECT_EQ(FitColumns("a\x1b[2Jb\rc\x7f", 20), "a?[2Jb?c?");
  EXPECT_EQ(FitColumns("\xC2\x9B" "31m", 20), "?31m");  // C1 control (CSI)
  EXPECT_EQ(FitColumns("x\xE6\x97y\xFF\xC0\x80", 20), "x??y???");  // cut short, invalid, overlong
  EXPECT_EQ(FitColumns("\xED\xA0\x80", 20), "???");  // a surrogate
  EXPECT_EQ(ColumnsOf("x\xE6\x97y"), 4);
}

TEST(StatusFormatTest, ClockShowsMinutesThenHours) {
  EXPECT_EQ(FormatClock(0), "0:00");
  EXPECT_EQ(FormatClock(83), "1:23");
  EXPECT_EQ(FormatClock(3599), "59:59");
  EXPECT_EQ(FormatClock(3600 + 62), "1:01:02");
}

TEST(StatusFormatTest, StatusLineKeepsTheNumbersAndFitsTheTitle) {
  PlayStatus status;
  status.title = "Song";
  status.positionSeconds = 83;
  status.lengthSeconds = 296;
  status.tempoBpm = 132;
  status.volume = 100;
  EXPECT_EQ(FormatPlayStatus(status, 79), "Song  1:23 / 4:56  132 bpm  vol 100");

  status.paused = true;
  status.list = ListPosition{2, 15};
  status.title = "とても長い曲の題名がここに入ります";
  const std::string line = FormatPlayStatus(status, 56);
  EXPECT_EQ(line, "[2/15] とても...  1:23 / 4:56  132 bpm  vol 100  PAUSED");
  EXPECT_LE(ColumnsOf(line), 56);

  // Too narrow for any title: the numbers, cut to the width.
  EXPECT_EQ(FormatPlayStatus(status, 20), "[2/15] 1:23 / 4:5...");
}

TEST(StatusFormatTest, ProgressBarAndRenderLine) {
  EXPECT_EQ(FormatProgressBar(0, 100, 10), "[..........]   0%");
  EXPECT_EQ(FormatProgressBar(42, 100, 10), "[####......]  42%");
  EXPECT_EQ(FormatProgressBar(150, 100, 10), "[##########] 100%");
  EXPECT_EQ(FormatProgressBar(0, 0, 4), "[####] 100%");

  EXPECT_EQ(FormatRenderProgress(90'000'000, 180'000'000, 79),
            "Rendering  1:30 / 3:00  [####################....................]  50%");
  // The tail after the song's end shows the full length, not more.
  EXPECT_EQ(FormatRenderProgress(182'000'000, 180'000'000, 41), "Rendering  3:00 / 3:00  [##########] 100%");
  // No room for a bar.
  EXPECT_EQ(FormatRenderProgress(0, 180'000'000, 30), "Rendering  0:00 / 3:00");
}

TEST(StatusFormatTest, SendingLineNamesTheControlFileAndHowFarItIs) {
  ControlFileProgress sending;
  sending.Open(1, 271);
  sending.Set(68);
  EXPECT_EQ(FormatSendingProgress(sending.Label(), sending.Sent(), sending.Total(), 79),
            "GSD FILE SENDING  [##########..............................]  25%");
  sending.Open(0, 102);
  EXPECT_EQ(FormatSendingProgress(sending.Label(), sending.Sent(), sending.Total(), 40),
            "CM6 FILE SENDING  [...............]   0%");
  sending.Open(2, 271);
  sending.Set(271);
  EXPECT_EQ(FormatSendingProgress(sending.Label(), sending.Sent(), sending.Total(), 36), "GSD2 FILE SENDING  [##########] 100%");
  EXPECT_EQ(FormatSendingProgress(sending.Label(), sending.Sent(), sending.Total(), 30), "GSD2 FILE SENDING");
  sending.Close();
  EXPECT_FALSE(sending.Active());
}

}  // namespace
}  // namespace velvasto::cli
