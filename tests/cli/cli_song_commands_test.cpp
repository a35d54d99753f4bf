#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
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

class CliSongCommandsTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string ini = (dir.Path() / "velvasto.ini").string();
};

TEST_F(CliSongCommandsTest, DumpPrintsEveryRecordInTableOrder) {
  SmfBuilder smf(0, 480);
  smf.AddTrack()
      .Tempo(0, 500000)
      .SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .NoteOn(480, 0, 60, 100)
      .NoteOff(480, 0, 60)
      .EndOfTrack(0);
  const auto path = dir.Write("song.mid", smf.Build());

  const CliResult result = RunCli({"dump", path.string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{
                                   "0 - TEMPO 120",
                                   "0 A SYX F0 41 10 42 12 40 00 7F 00 41 F7",
                                   "500000 A MSG 90 3C 64",
                                   "1000000 A MSG 80 3C 40",
                                   "1000000 - END",
                               }));
}

TEST_F(CliSongCommandsTest, InfoDescribesTheSong) {
  SmfBuilder smf(1, 96);
  smf.AddTrack().Text(0, 0x03, "Song Title").Tempo(0, 1000000).EndOfTrack(0);
  smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96 * 90, 0, 60).EndOfTrack(0);
  const auto path = dir.Write("song.rmi", WrapRiff(smf.Build()));

  const CliResult result = RunCli({"info", path.string()}, ini);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{
                                   "kind: Standard MIDI File",
                                   "subtype: format1",
                                   "macbinary: no",
                                   "riff: yes",
                                   "tracks: 2",
                                   "time base: 96",
                                   "playing time: 1:30.000 (90000000 us)",
                                   "title: Song Title",
                                   "events: 4",
                               }));
}

TEST_F(CliSongCommandsTest, FileErrorsPrintTheirMessageAndExitWithOne) {
  const auto unknown = dir.Write("notes.txt", std::string_view("just text"));
  CliResult result = RunCli({"info", unknown.string()}, ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "サポートしていないファイル形式です。\n");

  SmfBuilder smf(2, 480);
  smf.AddTrack().EndOfTrack(0);
  const auto format2 = dir.Write("format2.mid", smf.Build());
  result = RunCli({"dump", format2.string()}, ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "標準MIDIファイルはformat0とformat1以外はサポートしていません。\n");
  EXPECT_TRUE(result.out.empty());

  result = RunCli({"info", (dir.Path() / "missing.mid").string()}, ini);
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(result.err.empty());
}

TEST_F(CliSongCommandsTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunCli({}, ini).status, 2);
  EXPECT_EQ(RunCli({"frobnicate"}, ini).status, 2);
  EXPECT_EQ(RunCli({"dump"}, ini).status, 2);
  EXPECT_EQ(RunCli({"info", "a.mid", "b.mid"}, ini).status, 2);
  const CliResult help = RunCli({"--help"}, ini);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("dump FILE"), std::string::npos);
}

}  // namespace
}  // namespace velvasto::test
