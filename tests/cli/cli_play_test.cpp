// `play` through the player controller and `list`: what the recordings hold, song after song,
// and the list files written and shown.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What a one-note song of `note` (hex) sends on PORT A: the default volume, the note for half a
// second, then the engine's sound-off on all 16 channels when the song is stopped.
std::vector<std::string> OneNoteSongLines(const std::string& note) {
  std::vector<std::string> lines = {"0 A MSG B0 07 64", "0 A MSG 90 " + note + " 64", "500000 A MSG 80 " + note + " 40"};
  for (int channel = 0; channel < 16; ++channel) {
    for (const char* controller : {"40", "42", "7B", "78"}) {
      char line[40];
      std::snprintf(line, sizeof line, "500000 A MSG B%X %s 00", channel, controller);
      lines.push_back(line);
    }
  }
  return lines;
}

class CliPlayTest : public ::testing::Test {
 protected:
  // A format-0 song at 120 beats per minute: one note from 0 to half a second.
  std::string Song(const std::string& name, std::uint8_t note) {
    SmfBuilder smf(0, 480);
    smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(480, 0, note).EndOfTrack(0);
    return dir.Write(name, smf.Build()).string();
  }
  std::string Recorded() const { return ReadWholeFile(record); }
  std::string Out() const { return "A=record:" + record.string(); }

  TempDir dir;
  std::string ini = (dir.Path() / "velvasto.ini").string();
  std::filesystem::path record = dir.Path() / "played.txt";
};

TEST_F(CliPlayTest, FastPlayOfTwoSongsAndAListFileRecordsEverySongInOrder) {
  const std::string a = Song("a.mid", 60);
  const std::string b = Song("b.mid", 62);
  const std::string c = Song("c.mid", 64);
  const std::string d = Song("d.mid", 65);
  const std::string list = dir.Write("more.mlt", CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", "", c,
                                                           d, "", "[Section END]"}))
                               .string();

  const CliResult result = RunCli({"play", "--fast", "--out", Out(), a, b, list}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::vector<std::string> expected;
  for (const char* note : {"3C", "3E", "40", "41"}) {
    const auto song = OneNoteSongLines(note);
    expected.insert(expected.end(), song.begin(), song.end());
  }
  EXPECT_EQ(Lines(Recorded()), expected);
}

TEST_F(CliPlayTest, OneSongPlaysAloneAndLivePlaySendsWhatFastPlayRecords) {
  const std::string a = Song("a.mid", 60);
  const CliResult fast = RunCli({"play", "--fast", "--out=" + Out(), a}, ini);
  ASSERT_EQ(fast.status, 0) << fast.err;
  EXPECT_EQ(Lines(Recorded()), OneNoteSongLines("3C"));

  // Half a second on the machine's clock: the same lines, with the same song times.
  const CliResult live = RunCli({"play", "--out", Out(), a}, ini);
  ASSERT_EQ(live.status, 0) << live.err;
  EXPECT_EQ(Lines(Recorded()), OneNoteSongLines("3C"));
}

TEST_F(CliPlayTest, ASongThatCannotBeLoadedIsReportedAndTheOthersPlay) {
  const std::string a = Song("a.mid", 60);
  SmfBuilder format2(2, 480);
  format2.AddTrack().EndOfTrack(0);
  const std::string broken = dir.Write("broken.mid", format2.Build()).string();
  const std::string c = Song("c.mid", 64);

  const CliResult result = RunCli({"play", "--fast", "--out", Out(), a, broken, c}, ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "標準MIDIファイルはformat0とformat1以外はサポートしていません。\n");
  std::vector<std::string> expected = OneNoteSongLines("3C");
  const auto third = OneNoteSongLines("40");
  expected.insert(expected.end(), third.begin(), third.end());
  EXPECT_EQ(Lines(Recorded()), expected);
}

TEST_F(CliPlayTest, UsageAndFileMistakes) {
  const std::string a = Song("a.mid", 60);
  EXPECT_EQ(RunCli({"play"}, ini).status, 2);
  EXPECT_EQ(RunCli({"play", "--order", "shuffle", a}, ini).status, 2);
  EXPECT_EQ(RunCli({"play", "--fast", "--order", "rep", "--out", Out(), a}, ini).status, 2);
  EXPECT_EQ(RunCli({"play", "--fast", "--repeat-one", "--out", Out(), a}, ini).status, 2);
  const CliResult notRecorded = RunCli({"play", "--fast", a}, ini);
  EXPECT_EQ(notRecorded.status, 2);
  EXPECT_NE(notRecorded.err.find("--fast plays only into recordings"), std::string::npos);

  const std::string text = dir.Write("notes.txt", std::string_view("just text")).string();
  const CliResult unknown = RunCli({"play", "--fast", "--out", Out(), a, text}, ini);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, text + ": サポートしていないファイル形式です。\n");
  EXPECT_FALSE(std::filesystem::exists(record)) << "nothing plays when a file is not a song";
}

TEST_F(CliPlayTest, ListNewWritesAListFileThatListShowReads) {
  const std::string a = Song("a.mid", 60);
  const std::string b = Song("b.mid", 62);
  const std::string older = dir.Write("older.mlt", CrLfLines({"[Velvasto List File Version 2.0]", "", "[FileName]", "",
                                                             b, "", "[Section END]", "", "[Volume]", "", "90", "",
                                                             "[Section END]", "", "[55Map]", "", "2", "",
                                                             "[Section END]", "", "[55Adjust]", "", "1", "",
                                                             "[Section END]"}))
                                .string();
  const std::string made = (dir.Path() / "made.mlt").string();

  const CliResult created = RunCli({"list", "new", made, a, older}, ini);
  ASSERT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(created.out, made + ": 2 entries\n");

  const CliResult shown = RunCli({"list", "show", made}, ini);
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(Lines(shown.out), (std::vector<std::string>{
                                  "1  volume 127  map mode 0  force map 0  55 adjust 0  " + a,
                                  "2  volume 90  map mode 2  force map 0  55 adjust 1  " + b,
                              }));
  EXPECT_EQ(ReadWholeFile(made).substr(0, 34), "[Velvasto List File Version 3.0]\r\n");

  EXPECT_EQ(RunCli({"list"}, ini).status, 2);
  EXPECT_EQ(RunCli({"list", "new", made}, ini).status, 2);
  const CliResult missing = RunCli({"list", "show", (dir.Path() / "none.mlt").string()}, ini);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "リストファイルの読み込みエラーです。\n");
}

}  // namespace
}  // namespace velvasto::test
