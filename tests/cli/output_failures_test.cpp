// What the commands write when writing fails or is broken off: recordings that never destroy
// what the command reads, full disks told as such with the older file kept, standard output
// that cannot be written, signals mid-write, stale temporary files, long names and links.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "app/stop_signals.h"
#include "cli/cli_runner.h"
#include "cli/terminal/ending_signals.h"
#include "core/replacement_file.h"
#include "support/file_size_limit.h"
#include "support/read_file.h"
#include "support/smf_builder.h"

namespace velvasto::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const std::string kPlayerFailed = "マルチメディアタイマコールバック関数内でエラーが発生しました。\n";

class OutputFailureTest : public CliFolderTest {
 protected:
  OutputFailureTest() { dir.Write("velvasto.ini", std::string_view("[Velvasto]\n")); }
};

TEST_F(OutputFailureTest, ARecordingNeverDestroysWhatPlayReadsAndReplacesItsFileOnlyWhenPlayingEnds) {
  const std::string song = Song("song.mid");
  const std::string inner = Song("inner.mid");
  const std::string list = List("list.mlt", {inner});
  const std::string files[] = {song, inner, list, ini};
  std::vector<std::string> before;
  for (const std::string& file : files) before.push_back(ReadWholeFile(file));

  // The files given, a song of a list, the settings, named either way.
  const std::pair<Texts, std::string> refused[] = {
      {{"--out", "A=record:" + song, song}, song},
      {{"--out", "A=record:" + list, list}, list},
      {{"--out", "A=record:" + inner, list}, inner},
      {{"--out", "A=record:" + Path("other.txt"), "--out", "B=record:" + ini, song}, ini},
      {{"--out", "A=record:" + Path("./song.mid"), song}, song},
  };
  for (const auto& [args, input] : refused) {
    Texts command = {"play", "--fast"};
    command.insert(command.end(), args.begin(), args.end());
    SCOPED_TRACE(testing::PrintToString(command));
    const CliResult result = RunCli(command, ini);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.starts_with("velvasto-cli: play would record over " + input + ", a file it reads\n")) << result.err;
  }
  for (std::size_t i = 0; i < std::size(files); ++i) EXPECT_EQ(ReadWholeFile(files[i]), before[i]) << files[i];

  // A song that cannot be loaded records nothing, and the older recording stays; a song that
  // plays replaces it.
  const std::string record = dir.Write("played.txt", std::string_view("older")).string();
  SmfBuilder format2(2, 480);
  format2.AddTrack().EndOfTrack(0);
  const std::string broken = dir.Write("format2.mid", format2.Build()).string();
  EXPECT_EQ(RunCli({"play", "--fast", "--out", "A=record:" + record, broken}, ini).status, 1);
  EXPECT_EQ(ReadWholeFile(record), "older");
  EXPECT_EQ(RunCli({"play", "--fast", "--out", "A=record:" + record, song}, ini).status, 0);
  EXPECT_TRUE(ReadWholeFile(record).starts_with("0 A MSG B0 07 64\n"));
  EXPECT_EQ(HiddenFiles(), std::set<std::string>{});
}

// A full device, a file-size limit: the player's error with the system's reason on the next line,
// the render's with the reason itself; exit status 1; the older file kept.
TEST_F(OutputFailureTest, WritesThatFailAreToldWithTheSystemsReasonAndKeepTheOlderFile) {
  const std::string small = Song("small.mid");
  SmfBuilder smf(0, 480);
  SmfTrack& track = smf.AddTrack().Tempo(0, 500'000);
  for (int i = 0; i < 2'000; ++i) track.NoteOn(i == 0 ? 0 : 5, 0, 60, 100).NoteOff(5, 0, 60);
  track.EndOfTrack(0);
  const std::string large = dir.Write("large.mid", smf.Build()).string();  // about 80 KB recorded
  const std::string record = dir.Write("played.txt", std::string_view("older")).string();
  const std::string wav = dir.Write("out.wav", std::string_view("older")).string();

  // A full device of our own, not /dev/full itself: a program that took a device for a file to
  // replace (as render once did) would replace it.
  const std::string full = Path("full");
  if (::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0) {
    const CliResult recorded = RunCli({"play", "--fast", "--out", "A=record:" + full, small}, ini);
    EXPECT_EQ(recorded.status, 1);
    EXPECT_EQ(recorded.err, "MIDIOUTデバイスのクローズができません。\nrecord:" + full + ": No space left on device\n");
    const CliResult rendered = RunCli({"render", small, "-o", full, "--soundfont", kSoundFont}, ini);
    EXPECT_EQ(rendered.status, 1);
    EXPECT_EQ(rendered.err, "No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(full)) << "written, not replaced";
  } else {
    std::printf("no device node of our own (%s): only the file-size limit is tried\n", std::strerror(errno));
  }

  const FileSizeLimit limit(64 << 10);
  const CliResult limited = RunCli({"play", "--fast", "--out", "A=record:" + record, large}, ini);
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.err, kPlayerFailed + "midiOutShortMsgでエラーが発生しました。\nrecord:" + record + ": File too large\n");
  EXPECT_EQ(ReadWholeFile(record), "older");
  const CliResult rendered = RunCli({"render", large, "-o", wav, "--soundfont", kSoundFont}, ini);
  EXPECT_EQ(rendered.status, 1);
  EXPECT_EQ(rendered.err, "File too large\n");
  EXPECT_EQ(ReadWholeFile(wav), "older");
  EXPECT_EQ(HiddenFiles(), std::set<std::string>{});
}

TEST_F(OutputFailureTest, StandardOutputThatCannotBeWrittenIsAnError) {
  const std::string song = Song("song.mid");
  const std::string list = List("list.mlt", {song});
  const Texts commands[] = {
      {"info", song},
      {"dump", song},
      {"ports"},
      {"list", "show", list},
      {"list", "new", Path("new.mlt"), song},
      {"convert", song, "-o", Path("out.mid")},
      {"render", song, "-o", Path("out.wav"), "--soundfont", kSoundFont, "--rate", "8000"},
      {"--help"},
  };
  for (const auto& [redirection, reason] : {std::pair{">/dev/full", "No space left on device"},
                                            std::pair{">&-", "Bad file descriptor"}}) {
    for (const Texts& args : commands) {
      SCOPED_TRACE(redirection + (" " + testing::PrintToString(args)));
      const CliResult result = RunCli(args, ini, redirection);
      EXPECT_EQ(result.status, 1);
      EXPECT_TRUE(result.err.ends_with("standard output: " + std::string(reason) + "\n")) << result.err;
    }
  }
  // Nothing printed went into the files written meanwhile.
  EXPECT_TRUE(ReadWholeFile(Path("out.mid")).starts_with("MThd"));
  EXPECT_TRUE(ReadWholeFile(Path("new.mlt")).starts_with("[Velvasto List File Version 3.0]"));
}

// A process that writes a file and gets a stop signal: the handlers the command line installs
// remove the temporary file before the signal ends it.
TEST_F(OutputFailureTest, AStopSignalMidWriteLeavesNoTemporaryFile) {
  const fs::path target = dir.Write("list.mlt", std::string_view("older"));
  const auto writeAndSignal = [&](bool playing) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      cli::RemoveTemporaryFilesOnEndingSignals();
      std::optional<StopSignals> player;
      if (playing) player.emplace();  // the first signal asks the player to stop; the second ends
      ReplacementFile file(target);
      std::fputs("half of it", file.Stream());
      std::fflush(file.Stream());
      std::raise(SIGTERM);
      std::raise(SIGTERM);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
  };
  for (const bool playing : {false, true}) {
    const int status = writeAndSignal(playing);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(HiddenFiles(), std::set<std::string>{}) << (playing ? "while playing" : "");
    EXPECT_EQ(ReadWholeFile(target), "older");
  }
}

// Temporary files of a render killed outright, names of up to 255 bytes, a link as the output
// (the other commands write through the same replacement file).
TEST_F(OutputFailureTest, StaleTemporaryFilesGoAndLongNamesAndLinksAreWritten) {
  const std::string song = Song("song.mid");
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  dir.Write(".out.wav." + std::to_string(ended) + ".Ab3xYz.part", std::string_view("x"));
  const std::string real = dir.Write("real.wav", std::string_view("older")).string();
  fs::create_symlink(real, Path("link.wav"));

  for (const std::string& name : {std::string("out.wav"), std::string(251, 'n') + ".wav", std::string("link.wav")}) {
    const CliResult result = RunCli({"render", song, "-o", Path(name), "--soundfont", kSoundFont, "--rate", "8000"}, ini);
    EXPECT_EQ(result.status, 0) << name.size() << result.err;
    EXPECT_TRUE(fs::exists(Path(name))) << name.size();
  }
  EXPECT_EQ(HiddenFiles(), std::set<std::string>{});
  EXPECT_TRUE(fs::is_symlink(Path("link.wav"))) << "written through, as convert writes";
  EXPECT_TRUE(ReadWholeFile(real).starts_with("RIFF"));
}

}  // namespace
}  // namespace velvasto::test
