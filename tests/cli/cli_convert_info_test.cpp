// `convert` writes any song as a Standard MIDI File that reads back with the same messages;
// `info` tells of RCP/G36 songs their memo, control files and 36-track flag.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "song/song_loader.h"
#include "support/control_file_builder.h"
#include "support/recomposer_builder.h"
#include "support/smf_builder.h"
#include "support/song_compare.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

SongSettings BothPorts() {
  SongSettings settings;
  settings.portCount = 2;
  return settings;
}

class CliConvertInfoTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string ini = (dir.Path() / "velvasto.ini").string();
};

TEST_F(CliConvertInfoTest, InfoOfAnRcpSongShowsItsMemoControlFilesAndTrackFlag) {
  dir.Write("SONG.CM6", Cm6Builder().Build());
  RcpBuilder song;
  song.header.title = "Memo song";
  // Two memo lines of 28 bytes: ASCII, then テスト in CP932; the rest blank.
  song.header.memo = std::string("First line") + std::string(18, ' ') + "\x83\x65\x83\x58\x83\x67";
  song.header.cm6Name = "SONG.CM6    ";
  song.header.gsdName = "GONE.GSD";
  song.AddTrack().Note(1, 60, 1, 100).End();
  const auto path = dir.Write("song.rcp", song.Build());

  const CliResult result = RunCli({"info", path.string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  const std::vector<std::string> expected{
      "title: Memo song",
      "memo:",
      "  First line",
      "  テスト",
      "cm6 file: SONG.CM6 (found)",
      "gsd file: GONE.GSD (not found)",
      "36 tracks: yes",
  };
  const auto title = std::find(lines.begin(), lines.end(), "title: Memo song");
  ASSERT_NE(title, lines.end());
  EXPECT_EQ(std::vector<std::string>(title, title + static_cast<std::ptrdiff_t>(expected.size())), expected);
  EXPECT_EQ(lines.front(), "kind: RCP");
  EXPECT_EQ(lines.back(), "events: 108") << "tempo, the CM6 block of 102 messages and 2 markers, a note, its end, the end";
}

TEST_F(CliConvertInfoTest, InfoOfAG36SongNamesItsSecondGsdFile) {
  G36Builder song;
  song.header.gsd2Name = "TWO.GSD";
  song.AddTrack().Note(1, 60, 1, 100).End();
  const CliResult result = RunCli({"info", dir.Write("song.g36", song.Build()).string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string out = result.out;
  EXPECT_NE(out.find("memo:\ncm6 file: none\ngsd file: none\ngsd2 file: TWO.GSD (not found)\n36 tracks: no\n"),
            std::string::npos)
      << out;
}

TEST_F(CliConvertInfoTest, ConvertWritesAFileThatReadsBackWithTheSameMessages) {
  dir.Write("SONG.GSD", GsdBuilder().MasterVolume(100).Build());
  RcpBuilder song;
  song.header.gsdName = "SONG.GSD";
  song.AddTrack().Program(0, 5).Note(10, 60, 20, 100).Tempo(5, 90).Note(30, 62, 200, 80).End();
  song.AddTrack().Channel(0x13).Note(7, 40, 3, 70).End();
  const auto path = dir.Write("song.rcp", song.Build());
  const std::string out = (dir.Path() / "out.mid").string();

  const CliResult result = RunCli({"convert", path.string(), "-o", out}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, out + ": format 1, 19 tracks, time base 48\n")
      << "conductor, PORT A's exclusives and its 16 channels (the GSD block sets up every one), channel 4 of PORT B";
  const auto original = LoadSong(path, BothPorts());
  const auto written = LoadSong(out, BothPorts());
  EXPECT_EQ(MessageDifferences(*original, *written, 1'000), std::vector<std::string>{});
}

TEST_F(CliConvertInfoTest, ConvertProblems) {
  SmfBuilder smf(0, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack(10);
  const std::string song = dir.Write("song.mid", smf.Build()).string();

  CliResult result = RunCli({"convert", song}, ini);
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.err.starts_with("velvasto-cli: convert needs -o OUT.mid\n")) << result.err;
  EXPECT_EQ(RunCli({"convert", "-o", (dir.Path() / "x.mid").string()}, ini).status, 2);
  EXPECT_EQ(RunCli({"convert", song, "-o", song}, ini).status, 2) << "never over its own song";
  EXPECT_EQ(RunCli({"convert", song, "-o", "a.mid", "-o", "b.mid"}, ini).status, 2);

  result = RunCli({"convert", song, "-o", (dir.Path() / "no folder" / "x.mid").string()}, ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, std::string(std::strerror(ENOENT)) + "\n");

  result = RunCli({"convert", dir.Write("text.txt", std::string_view("text")).string(), "-o",
                   (dir.Path() / "y.mid").string()},
                  ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "サポートしていないファイル形式です。\n");
}

TEST_F(CliConvertInfoTest, TheDemoRcpSongDumpsRendersAndConverts) {
  const std::string demo =
      (std::filesystem::path(std::getenv("VELVASTO_TEST_DATA")) / ".." / ".." / "resources" / "demo" / "demo.rcp").string();
  const CliResult dump = RunCli({"dump", demo}, ini);
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Lines(dump.out).size(), 493u) << "3 tempo records, 489 messages, the end";

  const std::string wav = (dir.Path() / "demo.wav").string();
  const CliResult render =
      RunCli({"render", demo, "-o", wav, "--rate", "8000", "--soundfont", "/usr/share/sounds/sf2/TimGM6mb.sf2"}, ini);
  EXPECT_EQ(render.status, 0) << render.err;
  EXPECT_GT(std::filesystem::file_size(wav), 8000u * 4 * 15) << "more than 15 s of audio";

  const std::string mid = (dir.Path() / "demo.mid").string();
  const CliResult convert = RunCli({"convert", demo, "-o", mid}, ini);
  ASSERT_EQ(convert.status, 0) << convert.err;
  EXPECT_EQ(MessageDifferences(*LoadSong(demo, BothPorts()), *LoadSong(mid, BothPorts()), 1'000),
            std::vector<std::string>{});
}

}  // namespace
}  // namespace velvasto::test
