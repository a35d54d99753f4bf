// `render FILE -o OUT.wav [--rate HZ] [--soundfont SF2]`: a song to a WAV file through the
// built-in synthesizer, offline (see render/song_render.h), with a progress line on a terminal.

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/error_output.h"
#include "cli/option_value.h"
#include "cli/render/song_render.h"
#include "cli/standard_output.h"
#include "cli/terminal/status_format.h"
#include "cli/terminal/status_line.h"
#include "cli/usage_problem.h"
#include "core/replacement_file.h"
#include "midiout/backends/synth_render.h"
#include "song/song_loader.h"

namespace velvasto::cli {
namespace {

// FluidSynth's range of sample rates.
constexpr std::uint32_t kMinRate = 8000;
constexpr std::uint32_t kMaxRate = 96000;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

struct RenderArguments {
  std::filesystem::path song;
  std::filesystem::path wav;
  std::uint32_t sampleRate = 44100;
  std::optional<std::filesystem::path> soundFont;
};

RenderArguments ReadArguments(std::span<const std::string_view> args) {
  RenderArguments parsed;
  bool haveSong = false;
  bool haveWav = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string_view name) { return OptionValue(args, i, name); };
    if (const auto wav = value("-o")) {
      if (haveWav) throw UsageProblem("render takes one -o OUT.wav");
      if (wav->empty()) throw UsageProblem("-o needs a file name");
      parsed.wav = *wav;
      haveWav = true;
    } else if (const auto rate = value("--rate")) {
      std::uint32_t hz = 0;
      const auto [end, error] = std::from_chars(rate->data(), rate->data() + rate->size(), hz);
      if (error != std::errc() || end != rate->data() + rate->size() || hz < kMinRate || hz > kMaxRate) {
        throw UsageProblem("--rate takes a sample rate from 8000 to 96000 Hz");
      }
      parsed.sampleRate = hz;
    } else if (const auto soundFont = value("--soundfont")) {
      if (soundFont->empty()) throw UsageProblem("--soundfont needs a file name");
      parsed.soundFont = std::filesystem::path(*soundFont);
    } else if (arg.starts_with("-") && arg != "-") {
      throw UsageProblem("render does not know the option " + std::string(arg));
    } else {
      if (haveSong) throw UsageProblem("render takes exactly one FILE");
      parsed.song = arg;
      haveSong = true;
    }
  }
  if (!haveSong) throw UsageProblem("render takes exactly one FILE");
  if (!haveWav) throw UsageProblem("render needs -o OUT.wav");
  RefuseToOverwriteSong("render", parsed.song, parsed.wav);
  return parsed;
}

// A WAV file holds at most about 6 h 45 min at 44.1 kHz: a longer song is refused before the
// hours of rendering that would end in a file too large for its format.
bool FitsInWav(const std::filesystem::path& song, std::uint64_t lengthUs, std::uint32_t sampleRate) {
  const std::uint64_t longestUs = SynthRender::LongestSongUs(sampleRate);
  if (lengthUs <= longestUs) return true;
  std::fprintf(stderr, "%s: the song lasts %s; at %u Hz a WAV file holds a song of at most %s with its release tail\n",
               song.string().c_str(), FormatClockUs(lengthUs).c_str(), sampleRate, FormatClockUs(longestUs).c_str());
  return false;
}

std::string DescribeLength(std::uint64_t frames, std::uint32_t sampleRate) {
  const std::uint64_t ms = frames * 1000 / sampleRate;
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03u", FormatClock(static_cast<std::uint32_t>(ms / 1000)).c_str(),
                static_cast<unsigned>(ms % 1000));
  return text;
}

}  // namespace

int RunRender(std::span<const std::string_view> args) {
  RenderArguments arguments;
  try {
    arguments = ReadArguments(args);
  } catch (const UsageProblem& problem) {
    return UsageError(problem.what());
  }
  try {
    const SettingsBlock block = LoadSettings();
    // Both ports: the synthesizer has an input for each, so a two-port song renders whole.
    SongSettings songSettings = MakeSongSettings(block, 2);
    const std::unique_ptr<CMIDIStream> song = LoadSong(arguments.song, songSettings);
    const std::uint64_t lengthUs = song->Events().empty() ? 0 : song->Events().back().time;
    if (!FitsInWav(arguments.song, lengthUs, arguments.sampleRate)) return kExitFileError;

    RenderJob job;
    job.synth = SynthConfigFromSettings();
    if (arguments.soundFont) job.synth.soundFont = *arguments.soundFont;
    job.sampleRate = arguments.sampleRate;
    job.start = StartOptionsFor(block);
    job.timerPeriodMs = TimerPeriodFromSettings();

    ReplacementFile wav(arguments.wav);
    job.wavPath = wav.WritingPath();
    RenderResult result;
    {
      StatusLine progressLine(stderr);
      auto lastShown = std::chrono::steady_clock::time_point();
      const RenderProgress progress = [&](std::uint64_t renderedUs) {
        if (!progressLine.InPlace()) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastShown < kProgressInterval && renderedUs < lengthUs) return;
        lastShown = now;
        progressLine.Show(FormatProgressLine("Rendering", renderedUs, lengthUs, progressLine.Columns()));
      };
      result = RenderSong(*song, job, progress);
    }
    wav.Commit();
    std::printf("%s: %s of audio, %u Hz, 16-bit stereo\n", arguments.wav.string().c_str(),
                DescribeLength(result.frames, result.sampleRate).c_str(), result.sampleRate);
  } catch (...) {
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
  return FinishStandardOutput();
}

}  // namespace velvasto::cli
