// `list new OUT.mlt FILE...`: a list file of the songs and list files given, in their order.
// `list show FILE.mlt`: the entries of a list file with their settings, one line each:
//   <number>  volume <v>  map mode <m>  force map <f>  55 adjust <a>  <path>
// Entries whose files no longer exist are left out, as the player leaves them out.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/error_output.h"
#include "cli/standard_output.h"
#include "core/errors.h"
#include "core/file_type.h"
#include "playlist/list_file.h"
#include "playlist/play_list.h"

namespace velvasto::cli {
namespace {

// Adds `file` to `list` as the player adds dropped files: a song as a new entry with the volume
// "Volume Value", a list file with its entries.
void AddFile(CPlayList& list, const std::filesystem::path& file, std::int32_t volume) {
  const std::filesystem::path path = std::filesystem::absolute(file);
  switch (TypeProbe(path).Detect()) {
    case FileType::Smf:
    case FileType::Rcp:
    case FileType::G36:
      if (!list.Append({.path = path, .volume = volume})) throw CErrMessage(errc::kListFull);
      return;
    case FileType::List:
      LoadListFile(list, path, ListLoadMode::Append, volume);
      return;
    default:
      throw CErrMessage(errc::kUnsupportedFileType);
  }
}

int ListNew(std::span<const std::string_view> args) {
  if (args.size() < 2) return UsageError("list new takes OUT.mlt and at least one FILE");
  const std::filesystem::path out(args[0]);
  std::filesystem::path current;
  try {
    const SettingsBlock block = LoadSettings();
    CPlayList list;
    for (const std::string_view file : args.subspan(1)) {
      current = file;
      AddFile(list, current, block.volumeValue);
    }
    current.clear();
    SaveListFile(list, out);
    std::printf("%s: %d entries\n", out.string().c_str(), list.Count());
  } catch (...) {
    if (!current.empty()) std::fprintf(stderr, "%s:\n", current.string().c_str());
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
  return FinishStandardOutput();
}

int ListShow(std::span<const std::string_view> args) {
  if (args.size() != 1) return UsageError("list show takes exactly one FILE.mlt");
  try {
    const SettingsBlock block = LoadSettings();
    CPlayList list;
    LoadListFile(list, std::filesystem::path(args[0]), ListLoadMode::Replace, block.volumeValue);
    for (int index = 0; index < list.Count(); ++index) {
      const ListEntry& entry = list.Entry(index);
      std::printf("%d  volume %d  map mode %d  force map %d  55 adjust %d  %s\n", index + 1, entry.volume,
                  entry.mapMode, entry.forceMap, entry.adjust55, entry.path.string().c_str());
    }
  } catch (...) {
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
  return FinishStandardOutput();
}

}  // namespace

int RunList(std::span<const std::string_view> args) {
  if (!args.empty() && args[0] == "new") return ListNew(args.subspan(1));
  if (!args.empty() && args[0] == "show") return ListShow(args.subspan(1));
  return UsageError("list takes new OUT.mlt FILE... or show FILE.mlt");
}

}  // namespace velvasto::cli
