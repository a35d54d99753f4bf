// The terminal player's pieces: raw mode, keys, the texts fitted to the terminal, the loop's
// input, the line for a machine without sound.

#include <gtest/gtest.h>

#include <pty.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/control_file_progress.h"
#include "app/stop_signals.h"
#include "cli/output/no_audio_line.h"
#include "cli/terminal/key_decoder.h"
#include "cli/terminal/player_input.h"
#include "cli/terminal/raw_terminal.h"
#include "cli/terminal/status_format.h"
#include "cli/terminal/text_columns.h"
#include "midiout/device_error.h"
#include "midiout/device_registry.h"
#include "support/temp_dir.h"

namespace velvasto::cli {
namespace {

using Keys = std::vector<KeyCommand>;
using enum KeyCommand;
using namespace std::chrono_literals;

// Raw mode on a pseudo-terminal, and the terminal as it is found again after the program left —
// by returning, or killed by a signal (one handler restores it for every fatal signal).
tcflag_t EchoAndLines(int fd) {
  termios attributes{};
  return ::tcgetattr(fd, &attributes) == 0 ? attributes.c_lflag & (ICANON | ECHO) : ~tcflag_t{0};
}

// A child process takes a cooked pseudo-terminal as its standard input into raw mode, tells the
// parent, waits for its word, then returns or aborts (as an uncaught exception ends). Returns
// the child's wait status.
int RunChild(bool abort) {
  int master = -1, slave = -1;
  termios cooked{};
  cooked.c_lflag = ICANON | ECHO | ISIG;
  EXPECT_EQ(::openpty(&master, &slave, nullptr, &cooked, nullptr), 0);
  int talk[2];
  EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, talk), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::dup2(slave, STDIN_FILENO);
    {
      RawTerminal raw(STDIN_FILENO);
      char byte = raw.Active() ? 'r' : 'n';
      if (::write(talk[1], &byte, 1) != 1 || ::read(talk[1], &byte, 1) != 1) ::_exit(3);
      if (abort) std::abort();
    }
    ::_exit(0);
  }
  char byte = 0;
  EXPECT_EQ(::read(talk[0], &byte, 1), 1);
  EXPECT_TRUE(byte == 'r' && EchoAndLines(slave) == 0) << "raw while running";
  EXPECT_EQ(::write(talk[0], &byte, 1), 1);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_EQ(EchoAndLines(slave), tcflag_t{ICANON | ECHO}) << "restored after";
  for (const int fd : {master, slave, talk[0], talk[1]}) ::close(fd);
  return status;
}

TEST(RawTerminalTest, TheTerminalIsRestoredOnReturnAndOnAFatalSignal) {
  int status = RunChild(false);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  status = RunChild(true);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) << "the signal still ends the child";
}

TEST(KeyDecoderTest, KeysAreTheSameHoweverTheReadsSplitTheBytes) {
  const std::pair<std::string_view, Keys> cases[] = {
      {" rRnNqQ+=-_", {PauseResume, Restart, Restart, Next, Next, Quit, Quit, VolumeUp, VolumeUp, VolumeDown, VolumeDown}},
      {"xyz\r\n\t1", {}},
      // Arrows in normal, application and modified forms.
      {"\x1b[D\x1b[C\x1bOD\x1bOC\x1b[1;5C\x1b[1;2D", {Back, Forward, Back, Forward, Forward, Back}},
      // Up, Down, F5, Home, Delete, F1: their letters, digits, "[" and "~" never act as keys.
      {"\x1b[A\x1b[B\x1b[15~\x1b[H\x1b[3~\x1bOP", {}},
      // A sequence broken off by a control byte: the byte ends it and what follows is read again;
      // a lone Escape, then a key.
      {"\x1b[1\x1bq", {Quit}},
  };
  for (const auto& [bytes, expected] : cases) {
    for (const std::size_t piece : {bytes.size(), std::size_t{1}, std::size_t{2}}) {
      KeyDecoder decoder;
      Keys keys;
      for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::string_view read = bytes.substr(at, piece);
        decoder.Feed({reinterpret_cast<const std::uint8_t*>(read.data()), read.size()}, keys);
      }
      EXPECT_EQ(keys, expected) << testing::PrintToString(bytes) << " in reads of " << piece;
    }
  }
}

TEST(StatusFormatTest, WideCharactersTakeTwoColumnsAndNothingUnsafeReachesTheTerminal) {
  // Half-width katakana take one column, e + combining acute one, a cut-short character one.
  EXPECT_EQ(ColumnsOf("日本語ｱｲe\xCC\x81x\xE6\x97"), 6 + 2 + 1 + 3);
  EXPECT_EQ(FitColumns("日本語の曲", 10), "日本語の曲");
  EXPECT_EQ(FitColumns("日本語の曲", 8), "日本...");  // no half of a wide character
  EXPECT_EQ(FitColumns("abcdef", 2), "..");
  // An escape sequence in a title would clear the screen; CR would overwrite the line.
  EXPECT_EQ(FitColumns("a\x1b[2Jb\rc\x7f", 20), "a?[2Jb?c?");
  // A C1 control (CSI); a character cut short, invalid bytes, an overlong form, a surrogate.
  EXPECT_EQ(FitColumns("\xC2\x9B" "31m x\xE6\x97y\xFF\xC0\x80\xED\xA0\x80", 20), "?31m x??y??????");
}

TEST(StatusFormatTest, StatusAndProgressLinesKeepTheNumbersAndFitTheTitle) {
  EXPECT_EQ(FormatClock(3600 + 62), "1:01:02");
  PlayStatus status{.title = "Song", .positionSeconds = 83, .lengthSeconds = 296, .tempoBpm = 132, .volume = 100,
                    .list = {}};
  EXPECT_EQ(FormatPlayStatus(status, 79), "Song  1:23 / 4:56  132 bpm  vol 100");

  status = {.title = "とても長い曲の題名がここに入ります", .positionSeconds = 83, .lengthSeconds = 296, .tempoBpm = 132,
            .volume = 100, .paused = true, .list = ListPosition{2, 15}};
  EXPECT_EQ(FormatPlayStatus(status, 56), "[2/15] とても...  1:23 / 4:56  132 bpm  vol 100  PAUSED");
  // Too narrow for any title: the numbers, cut to the width.
  EXPECT_EQ(FormatPlayStatus(status, 20), "[2/15] 1:23 / 4:5...");

  EXPECT_EQ(FormatProgressBar(0, 0, 4), "[####] 100%");
  EXPECT_EQ(FormatProgressLine("Rendering", 90'000'000, 180'000'000, 79),
            "Rendering  1:30 / 3:00  [####################....................]  50%");
  // The tail after the song's end shows the full length, not more.
  EXPECT_EQ(FormatProgressLine("Rendering", 182'000'000, 180'000'000, 41), "Rendering  3:00 / 3:00  [##########] 100%");
  EXPECT_EQ(FormatProgressLine("Rendering", 0, 180'000'000, 30), "Rendering  0:00 / 3:00");  // no room for a bar

  ControlFileProgress sending;
  const auto line = [&sending](int columns) {
    return FormatSendingProgress(sending.Label(), sending.Sent(), sending.Total(), columns);
  };
  sending.Open(1, 271);
  sending.Set(68);
  EXPECT_EQ(line(79), "GSD FILE SENDING  [##########..............................]  25%");
  sending.Open(0, 102);
  EXPECT_EQ(line(40), "CM6 FILE SENDING  [...............]   0%");
  sending.Open(2, 271);
  sending.Set(271);
  EXPECT_EQ(line(36), "GSD2 FILE SENDING  [##########] 100%");
  EXPECT_EQ(line(30), "GSD2 FILE SENDING");
}

TEST(PlayerInputTest, StopSignalsAndWakesEndTheWait) {
  StopSignals signals;
  PlayerInput input(signals, -1);
  std::thread engine([&input] { input.Wake(); });
  EXPECT_TRUE(input.Wait(10s).woken);
  engine.join();
  EXPECT_FALSE(input.Wait(0ms).woken) << "one wake ends one wait";
  std::raise(SIGTERM);
  EXPECT_EQ(ExitStatusForSignal(input.Wait(10s).stopSignal), 128 + SIGTERM);
}

// Opens the built-in synthesizer's input A with `soundFont` and an audio driver that does not
// exist (a machine without sound); returns the line a player prints for the error.
std::string OpenSynth(const std::string& soundFont) {
  try {
    DeviceRegistry({soundFont, "no-such-audio-driver"}).MakeMapper()->Open();
  } catch (const CNoAudioOutputErrMessage& e) {
    return NoAudioOutputLine("songs/tune.mid", e.Detail());
  } catch (const CDeviceErrMessage& e) {
    return "device error: " + e.Detail();
  }
  return "opened";
}

TEST(NoAudioLineTest, NoAudioOutputIsOneLineThatPointsToRenderAndAMissingSoundFontIsNotTakenForIt) {
  const std::string line = OpenSynth("/usr/share/sounds/sf2/TimGM6mb.sf2");
  EXPECT_TRUE(line.starts_with("velvasto-cli: no audio output could be started")) << line;
  EXPECT_TRUE(line.ends_with("; write the song to a WAV file instead: velvasto-cli render songs/tune.mid -o tune.wav"))
      << line;
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(NoAudioOutputLine("", ""),
            "velvasto-cli: no audio output could be started; write the song to a WAV file instead: "
            "velvasto-cli render FILE -o OUT.wav");
  const std::string soundFont = (test::TempDir().Path() / "missing.sf2").string();
  EXPECT_EQ(OpenSynth(soundFont), "device error: SoundFont \"" + soundFont + "\" cannot be read: No such file or directory");
}

}  // namespace
}  // namespace velvasto::cli
