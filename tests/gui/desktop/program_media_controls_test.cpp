// The desktop program itself driven as the desktop's media keys and controls drive it: the real
// `velvasto` on a private session bus (the suite runs this test under dbus-run-session), with
// playerctl. It plays through its built-in synthesizer into a JACK server with the dummy driver,
// so that neither a sound card nor an audio server is needed, nor a display (Qt's offscreen
// platform).

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/association/child_process.h"
#include "midiout/backends/jack_client.h"
#include "support/child_process.h"
#include "support/environment_scope.h"
#include "support/own_jack_server.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSmallSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// playerctl's answer about the program, without its line end.
std::string Playerctl(const std::vector<std::string>& arguments) {
  std::vector<std::string> all{"--player=velvasto"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::string output = RunProgram("playerctl", all).output;
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  return output;
}

// playerctl's position in seconds; −1 when it gives none.
double PositionSeconds() {
  const std::string text = Playerctl({"position"});
  return text.empty() ? -1 : std::stod(text);
}

class ProgramMediaControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ProgramInstalled("playerctl") && ProgramInstalled("jackd") && ProgramInstalled("dbus-send"))
        << "scripts/install-deps.sh installs them";
    if (!JackServerRuns()) {
      jack_ = std::make_unique<OwnJackServer>(dir.Path() / "jackd.log");
      ASSERT_TRUE(jack_->Running()) << ReadWholeFile(dir.Path() / "jackd.log");
    }
    WriteFreshSettings();
  }

  // Settings with nothing but the small SoundFont, which the synthesizer loads fast.
  void WriteFreshSettings() {
    dir.Write("velvasto.ini", std::string("[Velvasto]\nSoundFont=") + kSmallSoundFont + "\n");
  }

  // A song of one note `seconds` long at 120 beats per minute.
  std::string Song(const std::string& name, std::uint8_t note, std::uint32_t seconds) {
    SmfBuilder smf(0, 480);
    smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(seconds * 2 * 480, 0, note).EndOfTrack(0);
    return dir.Write(name, smf.Build()).string();
  }

  // Starts `velvasto` with `arguments`: its own runtime folder and settings file, no display,
  // no audio server but the JACK server.
  void StartProgram(std::vector<std::string> arguments) {
    const EnvironmentScope environment({{"XDG_RUNTIME_DIR", dir.Path().string()},
                                        {"VELVASTO_INI", settings.string()},
                                        {"QT_QPA_PLATFORM", "offscreen"},
                                        {"PULSE_SERVER", std::nullopt}});
    arguments.insert(arguments.begin(), VELVASTO_PROGRAM);
    program_ = std::make_unique<ChildProcess>(arguments, log);
  }

  // Whether playerctl's answer to `arguments` becomes `expected` within a generous time.
  bool Becomes(const std::vector<std::string>& arguments, const std::string& expected) {
    return WaitUntil([&] { return Playerctl(arguments) == expected; }, 60s);
  }

  TempDir dir;
  std::filesystem::path settings = dir.Path() / "velvasto.ini";
  std::filesystem::path log = dir.Path() / "velvasto.log";
  std::unique_ptr<OwnJackServer> jack_;
  std::unique_ptr<ChildProcess> program_;
};

TEST_F(ProgramMediaControlsTest, PlayerctlDrivesThePlayingProgram) {
  StartProgram({Song("first.mid", 60, 60), Song("second.mid", 62, 60)});
  ASSERT_TRUE(Becomes({"status"}, "Playing")) << ReadWholeFile(log);
  EXPECT_EQ(Playerctl({"metadata", "xesam:title"}), "first.mid");
  EXPECT_EQ(Playerctl({"metadata", "mpris:length"}), "60000000");

  // Changes are told as they happen (PropertiesChanged), which is what --follow listens to.
  const std::filesystem::path followed = dir.Write("follow.txt", "");
  ChildProcess follow({"stdbuf", "-oL", "playerctl", "--player=velvasto", "--follow", "status"}, followed);
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(followed) == "Playing\n"; }, 30s)) << ReadWholeFile(followed);
  Playerctl({"play-pause"});
  EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(followed) == "Playing\nPaused\n"; }, 30s))
      << ReadWholeFile(followed);
  EXPECT_EQ(Playerctl({"status"}), "Paused");
  Playerctl({"play-pause"});
  EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(followed) == "Playing\nPaused\nPlaying\n"; }, 30s))
      << ReadWholeFile(followed);

  Playerctl({"next"});
  EXPECT_TRUE(Becomes({"metadata", "xesam:title"}, "second.mid"));
  EXPECT_EQ(Playerctl({"status"}), "Playing");

  // Half a minute into the second song: further than play alone has gone by now.
  Playerctl({"position", "30"});
  EXPECT_TRUE(WaitUntil([] { return PositionSeconds() >= 30; }, 30s));
  EXPECT_LT(PositionSeconds(), 59);

  Playerctl({"volume", "0.5"});
  EXPECT_TRUE(Becomes({"volume"}, "0.503937")) << "the slider's 64 of 127";
}

// Quit closes the window as its close box does. A single song's volume is the settings' volume:
// the one set from the desktop is kept.
TEST_F(ProgramMediaControlsTest, QuitEndsTheProgramAsItsCloseBoxDoes) {
  StartProgram({Song("only.mid", 60, 60)});
  ASSERT_TRUE(Becomes({"status"}, "Playing")) << ReadWholeFile(log);
  Playerctl({"volume", "0.5"});
  ASSERT_TRUE(Becomes({"volume"}, "0.503937"));
  RunProgram("dbus-send", {"--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.velvasto",
                           "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
  ASSERT_TRUE(WaitUntil([&] { return program_->Ended(); }, 60s)) << ReadWholeFile(log);
  const int status = program_->Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << ReadWholeFile(log);
  EXPECT_NE(ReadWholeFile(settings).find("Volume Value=64"), std::string::npos) << ReadWholeFile(settings);
}

// A signal to end it (a desktop that logs out without a session manager, a machine shutting
// down, Ctrl-C in the terminal it was started from) ends the program as the end of a session
// does: at once, asking nothing about the list the command line made, with the settings saved.
TEST_F(ProgramMediaControlsTest, ASignalToEndItEndsTheProgramWithItsSettingsSaved) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    WriteFreshSettings();
    StartProgram({Song("first.mid", 60, 60), Song("second.mid", 62, 60)});
    ASSERT_TRUE(Becomes({"status"}, "Playing")) << ReadWholeFile(log);
    const int status = program_->Stop(signal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << ReadWholeFile(log);
    EXPECT_NE(ReadWholeFile(settings).find("\nVolume Value=127\n"), std::string::npos) << ReadWholeFile(settings);
  }
}

}  // namespace
}  // namespace velvasto::test
