#include <gtest/gtest.h>

#include "cli/output/no_audio_line.h"
#include "midiout/device_error.h"
#include "midiout/device_registry.h"
#include "support/temp_dir.h"

namespace velvasto::cli {
namespace {

// Opens the built-in synthesizer's input A with `config` and returns the line a player prints
// for the error, or what else was thrown.
std::string OpenSynth(const SynthConfig& config, std::string_view song) {
  DeviceRegistry registry(config);
  const auto input = registry.MakeMapper();
  try {
    input->Open();
  } catch (const CNoAudioOutputErrMessage& e) {
    return NoAudioOutputLine(song, e.Detail());
  } catch (const CDeviceErrMessage& e) {
    return "device error: " + e.Detail();
  }
  return "opened";
}

TEST(NoAudioLineTest, NoAudioOutputIsItsOwnErrorAndOneLineThatPointsToRender) {
  // An audio driver that does not exist stands for a machine without sound.
  const std::string line = OpenSynth({"/usr/share/sounds/sf2/TimGM6mb.sf2", "no-such-audio-driver"}, "songs/tune.mid");
  EXPECT_TRUE(line.starts_with("velvasto-cli: no audio output could be started")) << line;
  EXPECT_TRUE(line.ends_with("; write the song to a WAV file instead: velvasto-cli render songs/tune.mid -o tune.wav"))
      << line;
  EXPECT_EQ(line.find('\n'), std::string::npos);

  EXPECT_EQ(NoAudioOutputLine("", ""),
            "velvasto-cli: no audio output could be started; write the song to a WAV file instead: "
            "velvasto-cli render FILE -o OUT.wav");
}

TEST(NoAudioLineTest, AMissingSoundFontIsNotTakenForMissingSound) {
  const test::TempDir dir;
  const std::string soundFont = (dir.Path() / "missing.sf2").string();
  EXPECT_EQ(OpenSynth({soundFont, "no-such-audio-driver"}, "tune.mid"),
            "device error: SoundFont \"" + soundFont + "\" cannot be read: No such file or directory");
}

}  // namespace
}  // namespace velvasto::cli
