// velvasto-cli: the terminal companion of the Velvasto player.

#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/standard_output.h"
#include "cli/terminal/ending_signals.h"
#include "core/cini_file.h"

namespace velvasto::cli {

namespace {

constexpr char kUsage[] =
    "usage: velvasto-cli <command> [arguments]\n"
    "  info FILE    what the song is: kind, subtype, wrappers, tracks, time base, length, title, records;\n"
    "               for RCP/G36 songs also the memo, the control files and the 36-track flag\n"
    "  dump FILE    the song's event table, one record per line\n"
    "  ports        the output devices, PORT A and PORT B marked\n"
    "  render FILE -o OUT.wav [--rate HZ] [--soundfont SF2]\n"
    "               the song into a WAV file through the built-in synthesizer\n"
    "  play [--order norm|rep|rand] [--repeat-one] [--fast] [--out PORT=NAME]... FILE...\n"
    "               songs and list files: one song alone, several as a list in the chosen order;\n"
    "               keys: space pause, r restart, n next, <- -> seek, + - volume, q quit\n"
    "  convert FILE -o OUT.mid    the song as a format 1 Standard MIDI File\n"
    "  list new OUT.mlt FILE...   a list file of the songs and list files given\n"
    "  list show FILE.mlt         the entries of a list file with their settings\n";

struct Command {
  std::string_view name;
  int (*run)(std::span<const std::string_view>);
};

constexpr Command kCommands[] = {
    {"info", RunInfo},
    {"dump", RunDump},
    {"ports", RunPorts},
    {"render", RunRender},
    {"play", RunPlay},
    {"list", RunList},
    {"convert", RunConvert},
};

}  // namespace

int UsageError(std::string_view text) {
  std::fprintf(stderr, "velvasto-cli: %.*s\n%s", static_cast<int>(text.size()), text.data(), kUsage);
  return kExitUsage;
}

}  // namespace velvasto::cli

int main(int argc, char** argv) {
  using namespace velvasto::cli;
  KeepStandardDescriptorsTaken();
  RemoveTemporaryFilesOnEndingSignals();
  // A command is one load of the settings: the file is read once, however many keys it reads.
  const velvasto::CINIFile::LoadScope settingsReadOnce;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, stdout);
    return FinishStandardOutput();
  }
  for (const Command& command : kCommands) {
    if (args[0] == command.name) return command.run(std::span(args).subspan(1));
  }
  return UsageError("unknown command");
}
