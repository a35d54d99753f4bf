// `render` and `ports` run as a user runs them.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The sample rate and the 16-bit stereo frames of a WAV file as our renderer writes it
// (a 44-byte header, then the data chunk).
struct Wav {
  std::uint32_t rate = 0;
  std::vector<std::int16_t> samples;  // interleaved left, right

  std::size_t Frames() const { return samples.size() / 2; }
  // The largest magnitude among the frames in [from, to) seconds.
  int Peak(double from, double to) const {
    int peak = 0;
    const auto first = static_cast<std::size_t>(from * rate) * 2;
    const auto last = std::min(samples.size(), static_cast<std::size_t>(to * rate) * 2);
    for (std::size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
  }
};

Wav ReadWav(const std::filesystem::path& path) {
  const std::string bytes = ReadWholeFile(path);
  Wav wav;
  EXPECT_GE(bytes.size(), 44u);
  if (bytes.size() < 44) return wav;
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(bytes.substr(36, 4), "data");
  std::uint32_t dataSize = 0;
  std::memcpy(&wav.rate, bytes.data() + 24, 4);
  std::memcpy(&dataSize, bytes.data() + 40, 4);
  EXPECT_EQ(dataSize, bytes.size() - 44) << "the header's data size covers the file";
  wav.samples.resize((bytes.size() - 44) / 2);
  std::memcpy(wav.samples.data(), bytes.data() + 44, wav.samples.size() * 2);
  return wav;
}

class CliRenderTest : public ::testing::Test {
 protected:
  // A piano note 0.0–0.5 s, another 1.5–2.0 s, the song's end at 2.0 s (120 bpm, 480 ticks a
  // quarter: 960 ticks a second).
  std::filesystem::path TwoNoteSong() const {
    SmfBuilder smf(0, 480);
    smf.AddTrack()
        .Tempo(0, 500000)
        .Program(0, 0, 0)
        .NoteOn(0, 0, 60, 110)
        .NoteOff(480, 0, 60)
        .NoteOn(960, 0, 67, 110)
        .NoteOff(480, 0, 67)
        .EndOfTrack(0);
    return dir.Write("two notes.mid", smf.Build());
  }

  CliResult Render(std::initializer_list<std::string> args) const {
    std::vector<std::string> all = {"render"};
    all.insert(all.end(), args.begin(), args.end());
    return RunCliArgs(all, ini);
  }

  TempDir dir;
  std::string ini = (dir.Path() / "velvasto.ini").string();
  std::string wav = (dir.Path() / "out.wav").string();
};

TEST_F(CliRenderTest, RendersTheSongToItsEndThenTheReleaseTail) {
  const CliResult result = Render({TwoNoteSong().string(), "-o", wav, "--soundfont", kSoundFont, "--rate", "22050"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "") << "no progress line when standard error is not a terminal";

  const Wav audio = ReadWav(wav);
  EXPECT_EQ(audio.rate, 22050u);
  const double seconds = static_cast<double>(audio.Frames()) / audio.rate;
  EXPECT_GT(seconds, 2.05) << "the song's 2 s and a release tail";
  EXPECT_LT(seconds, 2.0 + 10.0) << "the tail ends when the sound has died away";
  // TimGM6mb's piano at the default channel volume peaks near 1000.
  EXPECT_GT(audio.Peak(0.0, 0.5), 300) << "the first note sounds";
  EXPECT_LT(audio.Peak(1.3, 1.5), 50) << "and has died away before the second";
  EXPECT_GT(audio.Peak(1.5, 2.0), 300) << "the second note sounds";
  EXPECT_GT(audio.Peak(2.02, seconds), 0) << "the tail is not cut by the stop";
  const auto ms = static_cast<unsigned>(audio.Frames() * 1000 / audio.rate);
  char length[32];
  std::snprintf(length, sizeof length, "%u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
  EXPECT_EQ(result.out, wav + ": " + length + " of audio, 22050 Hz, 16-bit stereo\n");
}

TEST_F(CliRenderTest, SilenceBeforeTheEndRecordIsPartOfTheSong) {
  // One short note, then nothing until the end of the song at 3 s.
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500000).NoteOn(0, 9, 42, 100).NoteOff(48, 9, 42).EndOfTrack(2880 - 48);
  const auto song = dir.Write("short.mid", smf.Build());
  const CliResult result = Render({song.string(), "-o", wav, "--soundfont", kSoundFont});
  ASSERT_EQ(result.status, 0) << result.err;
  const Wav audio = ReadWav(wav);
  EXPECT_EQ(audio.rate, 44100u);
  // The synthesizer places messages on its 64-frame blocks; so is the end placed.
  EXPECT_GE(audio.Frames(), 3u * 44100u - 32u);
  EXPECT_LT(audio.Frames(), 4u * 44100u);
}

TEST_F(CliRenderTest, TheTailSoundsAsTheSongLeftTheSynthesizer) {
  // Strings at expression 30, released at the song's end. The engine's stop resets the
  // controllers; were it to reach the synthesizer before the tail is rendered, the tail would
  // jump to full expression.
  SmfBuilder smf(0, 480);
  smf.AddTrack().Tempo(0, 500000).Program(0, 0, 48).Control(0, 0, 11, 30).NoteOn(0, 0, 60, 110).NoteOff(960, 0, 60).EndOfTrack(0);
  const auto song = dir.Write("strings.mid", smf.Build());
  const CliResult result = Render({song.string(), "-o", wav, "--soundfont", kSoundFont});
  ASSERT_EQ(result.status, 0) << result.err;
  const Wav audio = ReadWav(wav);
  const int held = audio.Peak(0.5, 1.0);
  EXPECT_GT(held, 100);
  EXPECT_LT(audio.Peak(1.0, 1.5), held * 3 / 2) << "the tail fades from where the note was";
}

TEST_F(CliRenderTest, SoundFontProblemsAreFileErrorsAndLeaveAnOlderFileAlone) {
  dir.Write("out.wav", std::string_view("older file"));
  const std::string missing = (dir.Path() / "missing.sf2").string();
  CliResult result = Render({TwoNoteSong().string(), "-o", wav, "--soundfont", missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "MIDIOUTデバイスのオープンができません。\nSoundFont \"" + missing +
                            "\" cannot be read: No such file or directory\n");
  EXPECT_EQ(result.out, "");

  // A SoundFont cut short: its header promises more than the file holds.
  std::string truncated = "RIFF";
  truncated += std::string("\x00\x10\x00\x00", 4);
  truncated += "sfbkLIST";
  const auto damaged = dir.Write("damaged.sf2", truncated);
  result = Render({TwoNoteSong().string(), "-o", wav, "--soundfont", damaged.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "MIDIOUTデバイスのオープンができません。\nSoundFont \"" + damaged.string() +
                            "\" is damaged: its size does not match its header\n");

  EXPECT_EQ(ReadWholeFile(wav), "older file");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_FALSE(entry.path().string().ends_with(".part")) << "left behind: " << entry.path();
  }
}

TEST_F(CliRenderTest, SongProblemsAreFileErrors) {
  const auto text = dir.Write("notes.txt", std::string_view("just text"));
  const CliResult result = Render({text.string(), "-o", wav, "--soundfont", kSoundFont});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "サポートしていないファイル形式です。\n");
  EXPECT_FALSE(std::filesystem::exists(wav));
}

TEST_F(CliRenderTest, UsageProblemsExitWithTwo) {
  const std::string song = TwoNoteSong().string();
  const struct {
    std::vector<std::string> args;
    const char* text;
  } cases[] = {
      {{song}, "render needs -o OUT.wav"},
      {{"-o", wav}, "render takes exactly one FILE"},
      {{song, song, "-o", wav}, "render takes exactly one FILE"},
      {{song, "-o"}, "-o needs a value"},
      {{song, "-o", wav, "-o", wav}, "render takes one -o OUT.wav"},
      {{song, "-o", wav, "--rate", "7999"}, "--rate takes a sample rate from 8000 to 96000 Hz"},
      {{song, "-o", wav, "--rate=44.1k"}, "--rate takes a sample rate from 8000 to 96000 Hz"},
      {{song, "-o", wav, "--soundfont="}, "--soundfont needs a file name"},
      {{song, "-o", wav, "--loud"}, "render does not know the option --loud"},
      {{song, "-o", song}, "render would write over its own song file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = RunCliArgs(args, ini);
    EXPECT_EQ(result.status, 2) << c.text;
    EXPECT_TRUE(result.err.starts_with(std::string("velvasto-cli: ") + c.text + "\nusage:")) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(wav));
}

TEST(CliPortsTest, ListsTheSynthesizerInputsWithPortAMarked) {
  TempDir dir;
  const CliResult result = RunCli({"ports"}, (dir.Path() / "velvasto.ini").string());
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "A  Velvasto Synth A");
  EXPECT_EQ(lines[1], "   Velvasto Synth B");
  EXPECT_EQ(RunCli({"ports", "extra"}, (dir.Path() / "velvasto.ini").string()).status, 2);
}

}  // namespace
}  // namespace velvasto::test
