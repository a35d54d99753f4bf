// Inputs that once hung the commands: files that are no files, a huge settings file, songs
// dense with System Exclusive messages or lasting years.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "cli/cli_runner.h"
#include "support/read_file.h"
#include "support/smf_builder.h"

namespace velvasto::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using namespace std::chrono_literals;

const std::string kUnsupported = "サポートしていないファイル形式です。\n";

using HostileInputTest = CliFolderTest;

// A FIFO blocks whoever opens it until a writer comes, /dev/zero never ends, a huge file without
// line ends is read to its end: each is no file the commands read, and they go on at once.
TEST_F(HostileInputTest, FifosDevicesAndFoldersAreNoReadableFiles) {
  for (const char* name : {"fifo.mid", "fifo.mlt", "fifo.ini"}) ASSERT_EQ(::mkfifo(Path(name).c_str(), 0600), 0);
  const std::string fifo = Path("fifo.mid");
  const std::string song = Song("song.mid");
  fs::create_directories(dir.Path() / "folder.mid");
  const std::string folder = (dir.Path() / "folder.mid").string();
  const std::string record = "A=record:" + (dir.Path() / "played.txt").string();
  const std::string infoStart = "kind: Standard MIDI File\n";

  // The arguments, the settings file, and the exit status and what standard error says.
  const std::tuple<Texts, std::string, int, std::string> cases[] = {
      {{"info", fifo}, ini, 1, kUnsupported},
      {{"dump", folder}, ini, 1, kUnsupported},
      {{"play", "--fast", "--out", record, fifo}, ini, 1, fifo + ": " + kUnsupported},
      {{"convert", fifo, "-o", (dir.Path() / "out.mid").string()}, ini, 1, kUnsupported},
      {{"list", "show", Path("fifo.mlt")}, ini, 1, "リストファイルの読み込みエラーです。\n"},
      {{"info", song}, Path("fifo.ini"), 0, ""},  // the settings' defaults
  };
  for (const auto& [args, settings, status, err] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliResult result = RunCli(args, settings);
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(result.err, err);
    if (status == 0) { EXPECT_TRUE(result.out.starts_with(infoStart)) << result.out; }
  }

  // The track settings file beside the song: a FIFO, a link to /dev/zero, a sparse 64 GiB file
  // with no line end. None of them moves the track to PORT B of a two-port song.
  dir.Write("velvasto.ini", std::string_view("[Velvasto]\nMIDI Port Num=2\n"));
  const fs::path mtk = dir.Path() / "song.mtk";
  const auto dumpsOnPortA = [&] {
    const CliResult result = RunCli({"dump", song}, ini);
    EXPECT_EQ(result.status, 0) << result.err;
    return Lines(result.out).at(1);
  };
  ASSERT_EQ(::mkfifo(mtk.c_str(), 0600), 0);
  EXPECT_EQ(dumpsOnPortA(), "0 A MSG 90 3C 64");
  fs::remove(mtk);
  fs::create_symlink("/dev/zero", mtk);
  EXPECT_EQ(dumpsOnPortA(), "0 A MSG 90 3C 64");
  fs::remove(mtk);
  dir.Write("song.mtk", std::string_view("x"));
  ASSERT_EQ(::truncate(mtk.c_str(), off_t{64} << 30), 0);
  EXPECT_EQ(dumpsOnPortA(), "0 A MSG 90 3C 64");
  dir.Write("song.mtk", std::string_view("TRACK1 PORT:B\n"));
  EXPECT_EQ(dumpsOnPortA(), "0 B MSG 90 3C 64") << "a real settings file still counts";
}

// A settings file of 8 MiB is read once by a command, not once for each of its keys.
TEST_F(HostileInputTest, AHugeSettingsFileIsReadOncePerCommand) {
  constexpr std::size_t kPadding = 8 << 20;
  dir.Write("velvasto.ini", "[Velvasto]\nMIDI Port Num=2\n; " + std::string(kPadding, '-') + "\n");
  const std::string song = Song("song.mid");
  // The shell that runs the command counts what its ended children read, in its I/O accounting.
  const std::string command = "VELVASTO_INI=" + Quoted(ini) + " " + Quoted(VELVASTO_CLI_PATH) + " info " + Quoted(song) +
                              " >/dev/null || exit 3; grep '^rchar:' /proc/$$/io; exit 0";
  std::FILE* shell = ::popen(command.c_str(), "r");
  ASSERT_NE(shell, nullptr);
  char line[128] = {};
  const bool counted = std::fgets(line, sizeof line, shell) != nullptr;
  EXPECT_EQ(::pclose(shell), 0);
  if (!counted) GTEST_SKIP() << "no I/O accounting";
  EXPECT_LT(std::stoull(std::string(line).substr(7)), 2 * kPadding) << line;
}

// 20,000 GS messages, one a tick (20.8 s): each holds the song time for a timer run, so the song
// falls far behind the clock, which is no device that never finishes (render's player is the
// engine's, whose own test plays such a song).
TEST_F(HostileInputTest, ASongDenseWithSystemExclusiveMessagesPlaysWhole) {
  constexpr int kMessages = 20'000;
  SmfBuilder smf(0, 480);
  SmfTrack& track = smf.AddTrack().Tempo(0, 500'000);
  for (int i = 0; i < kMessages; ++i) {
    track.SysEx(i == 0 ? 0 : 1, {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, static_cast<std::uint8_t>(i % 8), 0x00, 0xF7});
  }
  track.NoteOn(0, 0, 60, 100).NoteOff(1, 0, 60).EndOfTrack(0);
  const std::string song = dir.Write("dense.mid", smf.Build()).string();
  const fs::path record = dir.Path() / "played.txt";

  const CliResult played = RunCli({"play", "--fast", "--out", "A=record:" + record.string(), song}, ini);
  EXPECT_EQ(played.status, 0) << played.err;
  const Texts lines = Lines(ReadWholeFile(record));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.find(" SYX ") != std::string::npos; }),
            kMessages);
  EXPECT_TRUE(lines.at(kMessages + 1).ends_with(" A MSG 90 3C 64")) << "and the note after them";
}

// The command running with standard error on a pseudo-terminal.
class TerminalRun {
 public:
  TerminalRun(const std::vector<std::string>& args, const std::string& ini) {
    int slave = -1;
    EXPECT_EQ(::openpty(&master_, &slave, nullptr, nullptr, nullptr), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(slave, STDERR_FILENO);
      ::setenv("VELVASTO_INI", ini.c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(VELVASTO_CLI_PATH)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(VELVASTO_CLI_PATH, argv.data());
      ::_exit(127);
    }
    ::close(slave);
  }
  ~TerminalRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(master_);
  }
  TerminalRun(const TerminalRun&) = delete;
  TerminalRun& operator=(const TerminalRun&) = delete;

  // Reads what the command shows until it holds `text` (true) or `patience` has passed.
  bool WaitFor(const std::string& text, std::chrono::milliseconds patience = 60s) {
    for (auto end = std::chrono::steady_clock::now() + patience; std::chrono::steady_clock::now() < end;) {
      pollfd ready{master_, POLLIN, 0};
      char bytes[4096];
      if (::poll(&ready, 1, 100) == 1) {
        const ssize_t got = ::read(master_, bytes, sizeof bytes);
        if (got <= 0) return false;
        shown_.append(bytes, static_cast<std::size_t>(got));
        if (shown_.find(text) != std::string::npos) return true;
      }
    }
    return false;
  }
  // Sends `signal` and waits (up to a minute) for the command to end; its wait status, or -1.
  int Signal(int signal) {
    ::kill(pid_, signal);
    for (auto end = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < end;) {
      WaitFor("\x01", 10ms);  // reading on, so that the command never waits on a full terminal
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return status;
      }
    }
    return -1;
  }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  std::string shown_;
};

// A tiny file whose one note lasts 49 years: rendering it would write WAV data for about twenty
// minutes until the format's 4 GiB were full.
TEST_F(HostileInputTest, ASongLastingYearsIsRefusedByRenderAndShowsItsProgressInFastPlayUntilCtrlC) {
  SmfBuilder smf(0, 1);
  smf.AddTrack().Tempo(0, 0xFFFFFF).NoteOn(0, 0, 60, 100).NoteOff(0x5800000, 0, 60).EndOfTrack(0);
  const std::string song = dir.Write("years.mid", smf.Build()).string();
  const std::string wav = dir.Write("years.wav", std::string_view("older")).string();

  const CliResult rendered = RunCli({"render", song, "-o", wav, "--soundfont", kSoundFont}, ini);
  EXPECT_EQ(rendered.status, 1);
  EXPECT_EQ(rendered.err, song + ": the song lasts 430031:11:19; at 44100 Hz a WAV file holds a song of at most "
                                 "6:45:17 with its release tail\n");
  EXPECT_EQ(ReadWholeFile(wav), "older");

  const std::string record = dir.Write("played.txt", std::string_view("older")).string();
  TerminalRun play({"play", "--fast", "--out", "A=record:" + record, song}, ini);
  ASSERT_TRUE(play.WaitFor("Playing  0:")) << "a progress line";
  const int status = play.Signal(SIGINT);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGINT) << status;
  EXPECT_EQ(ReadWholeFile(record), "older") << "a broken-off recording replaces nothing";
  EXPECT_EQ(HiddenFiles(), std::set<std::string>{}) << "a temporary file left";
}

}  // namespace
}  // namespace velvasto::test
