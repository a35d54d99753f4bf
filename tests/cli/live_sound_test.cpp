// Live play through the sound server of a Linux desktop: a PulseAudio server of the test's own
// (PipeWire's PulseAudio front end answers the same way), its output recorded from the monitor
// of a null sink. ALSA is given no route to the server, as on a desktop without ALSA's
// PulseAudio plugin, so the sound must reach the server directly; no JACK server is named.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/child_process.h"
#include "support/demo_song.h"
#include "support/environment_scope.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSink = "velvasto_test";

// How many tenths of a second of 44.1 kHz 16-bit stereo audio reach a magnitude of `level`.
int LoudTenths(const std::string& audio, int level) {
  constexpr std::size_t kTenthBytes = 4410 * 4;
  int loud = 0;
  for (std::size_t start = 0; start < audio.size(); start += kTenthBytes) {
    const std::size_t end = std::min(audio.size(), start + kTenthBytes) & ~std::size_t{1};
    for (std::size_t at = start; at < end; at += 2) {
      std::int16_t sample = 0;
      std::memcpy(&sample, audio.data() + at, 2);
      if (std::abs(int{sample}) >= level) {
        ++loud;
        break;
      }
    }
  }
  return loud;
}

TEST(LiveSoundTest, TheDemoSoundsThroughAPulseAudioServerAndWithoutOneThePlayerSaysThereIsNoAudio) {
  if (!ProgramInstalled("pulseaudio") || !ProgramInstalled("parec")) {
    GTEST_SKIP() << "needs pulseaudio and parec (packages pulseaudio, pulseaudio-utils)";
  }
  const TempDir dir;
  const std::filesystem::path runtime = dir.Path() / "run";
  std::filesystem::create_directories(runtime);
  std::filesystem::create_directories(dir.Path() / "home");
  const EnvironmentScope environment({{"XDG_RUNTIME_DIR", runtime.string()},
                                      {"HOME", (dir.Path() / "home").string()},
                                      {"ALSA_CONFIG_PATH", dir.Write("alsa.conf", "").string()},
                                      {"JACK_DEFAULT_SERVER", "velvasto-no-server"},
                                      {"PULSE_SERVER", std::nullopt},
                                      {"PULSE_RUNTIME_PATH", std::nullopt}});
  const std::string ini = (dir.Path() / "velvasto.ini").string();
  const std::string demo = DemoSong("demo.mid").string();
  const std::filesystem::path recording = dir.Path() / "heard.raw";
  {
    ChildProcess server({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                         "--log-target=stderr", "-L", std::string("module-null-sink sink_name=") + kSink,
                         "-L", "module-native-protocol-unix auth-anonymous=1"},
                        dir.Path() / "pulseaudio.log");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(runtime / "pulse" / "native") || server.Ended(); }, 30s) &&
                !server.Ended())
        << ReadWholeFile(dir.Path() / "pulseaudio.log");
    ChildProcess recorder({"parec", "-d", std::string(kSink) + ".monitor", "--raw", "--format=s16le", "--rate=44100",
                           "--channels=2"},
                          recording);
    // The monitor gives silence from the moment the recorder is connected.
    const auto recorded = [&] {
      std::error_code ec;
      return std::filesystem::file_size(recording, ec) > 0 && !ec;
    };
    ASSERT_TRUE(WaitUntil([&] { return recorded() || recorder.Ended(); }, 30s) &&
                !recorder.Ended())
        << ReadWholeFile(recording);

    const CliResult played = RunCli({"play", demo}, ini);
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(played.err, "");
  }
  // The demo lasts about 16 seconds and sounds nearly all through (TimGM6mb or FluidR3 alike).
  EXPECT_GE(LoudTenths(ReadWholeFile(recording), 300), 100);

  // The server gone, ALSA without a route and no OSS device: nothing sounds, and the player says so.
  if (std::filesystem::exists("/dev/dsp")) return;
  const CliResult silent = RunCli({"play", demo}, ini);
  EXPECT_EQ(silent.status, 1);
  EXPECT_TRUE(silent.err.starts_with("velvasto-cli: no audio output could be started (alsa: ")) << silent.err;
}

}  // namespace
}  // namespace velvasto::test
