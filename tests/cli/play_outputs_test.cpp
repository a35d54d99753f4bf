#include <gtest/gtest.h>

#include "cli/output/play_outputs.h"
#include "core/cini_file.h"
#include "midiout/device_registry.h"
#include "support/temp_dir.h"

namespace velvasto::cli {
namespace {

class PlayOutputsTest : public ::testing::Test {
 protected:
  PlayOutputsTest() { CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini"); }
  ~PlayOutputsTest() override { CINIFile::SetSettingsPath({}); }

  // Opens the settings' outputs (the built-in synthesizer) with `config`; returns what was
  // printed on standard error, and whether the ports opened.
  std::pair<std::string, bool> Open(const SynthConfig& config, std::string_view song) {
    DeviceRegistry registry(config);
    CMIDIPort choice;
    choice.Load(registry);
    const OutputPlan plan = OutputPlan::Resolve({}, choice, registry);
    testing::internal::CaptureStderr();
    const bool opened = OpenPlayOutputs(plan, registry, song) != nullptr;
    return {testing::internal::GetCapturedStderr(), opened};
  }

  test::TempDir dir;
};

TEST_F(PlayOutputsTest, NoAudioOutputIsOneLineThatPointsToRender) {
  // An audio driver that does not exist stands for a machine without sound.
  const auto [printed, opened] = Open({"/usr/share/sounds/sf2/TimGM6mb.sf2", "no-such-audio-driver"}, "songs/tune.mid");
  EXPECT_FALSE(opened);
  EXPECT_TRUE(printed.starts_with("velvasto-cli: no audio output could be started")) << printed;
  EXPECT_TRUE(printed.ends_with("; write the song to a WAV file instead: velvasto-cli render songs/tune.mid -o tune.wav\n"))
      << printed;
  EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "one line";

  EXPECT_EQ(NoAudioOutputLine("", ""),
            "velvasto-cli: no audio output could be started; write the song to a WAV file instead: "
            "velvasto-cli render FILE -o OUT.wav");
}

TEST_F(PlayOutputsTest, AMissingSoundFontIsReportedAsItself) {
  const std::string soundFont = (dir.Path() / "missing.sf2").string();
  const auto [printed, opened] = Open({soundFont, "no-such-audio-driver"}, "tune.mid");
  EXPECT_FALSE(opened);
  EXPECT_EQ(printed, "MIDIOUTデバイスのオープンができません。\nSoundFont \"" + soundFont +
                         "\" cannot be read: No such file or directory\n");
}

}  // namespace
}  // namespace velvasto::cli
