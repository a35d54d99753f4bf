// `convert FILE -o OUT.mid`: any song the player reads (Standard MIDI File, RCP, G36) written
// as a format 1 Standard MIDI File (see song/smf_writer.h). The song is read as the player
// would send it through both ports, control files and map correction included.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/error_output.h"
#include "cli/option_value.h"
#include "cli/standard_output.h"
#include "cli/usage_problem.h"
#include "song/smf_writer.h"
#include "song/song_loader.h"

namespace velvasto::cli {
namespace {

struct ConvertArguments {
  std::filesystem::path song;
  std::filesystem::path out;
};

ConvertArguments ReadArguments(std::span<const std::string_view> args) {
  std::optional<std::filesystem::path> song;
  std::optional<std::filesystem::path> out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (const auto name = OptionValue(args, i, "-o")) {
      if (out) throw UsageProblem("convert takes one -o OUT.mid");
      if (name->empty()) throw UsageProblem("-o needs a file name");
      out = *name;
    } else if (arg.starts_with("-") && arg != "-") {
      throw UsageProblem("convert does not know the option " + std::string(arg));
    } else {
      if (song) throw UsageProblem("convert takes exactly one FILE");
      song = arg;
    }
  }
  if (!song) throw UsageProblem("convert takes exactly one FILE");
  if (!out) throw UsageProblem("convert needs -o OUT.mid");
  RefuseToOverwriteSong("convert", *song, *out);
  return {*song, *out};
}

}  // namespace

int RunConvert(std::span<const std::string_view> args) {
  ConvertArguments arguments;
  try {
    arguments = ReadArguments(args);
  } catch (const UsageProblem& problem) {
    return UsageError(problem.what());
  }
  try {
    const SettingsBlock block = LoadSettings();
    const std::unique_ptr<CMIDIStream> song = LoadSong(arguments.song, MakeSongSettings(block, 2));
    const std::vector<std::uint8_t> bytes = WriteStandardMidiFile(*song, arguments.out);
    // The header: track count at byte 10, time base at byte 12.
    std::printf("%s: format 1, %u tracks, time base %u\n", arguments.out.string().c_str(),
                static_cast<unsigned>(bytes[10] << 8 | bytes[11]), static_cast<unsigned>(bytes[12] << 8 | bytes[13]));
  } catch (...) {
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
  return FinishStandardOutput();
}

}  // namespace velvasto::cli
