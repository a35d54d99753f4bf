// `info` and `dump`: what a song file holds, read through the same readers the player uses.

#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/standard_output.h"
#include "core/errors.h"
#include "midiout/event_line.h"
#include "song/memo_lines.h"
#include "song/song_loader.h"

namespace velvasto::cli {

namespace {

const char* KindName(SongKind kind) {
  switch (kind) {
    case SongKind::Smf:
      return "Standard MIDI File";
    case SongKind::Rcp:
      return "RCP";
    case SongKind::G36:
      return "G36";
  }
  return "unknown";
}

std::string SubtypeName(const SongInfo& info) {
  switch (info.kind) {
    case SongKind::Smf:
      return "format" + std::to_string(info.subtype);
    case SongKind::Rcp:
      return info.subtype == 0 ? "RCP" : "R36";
    case SongKind::G36:
      return info.subtype == 0 ? "G36" : "G18";
  }
  return std::to_string(info.subtype);
}

// m:ss.mmm, minutes unbounded.
std::string FormatPlayTime(std::uint64_t us) {
  const std::uint64_t ms = us / 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%llu:%02llu.%03llu", static_cast<unsigned long long>(ms / 60000),
                static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
  return text;
}

// Loads the song named by the single argument, printing the error and setting `status` when it
// cannot be loaded.
std::unique_ptr<CMIDIStream> LoadSingleSong(std::span<const std::string_view> args, const char* command,
                                            int& status) {
  if (args.size() != 1) {
    status = UsageError(std::string(command) + " takes exactly one FILE");
    return nullptr;
  }
  try {
    const SettingsBlock block = LoadSettings();
    return LoadSong(std::filesystem::path(args[0]), SongSettingsFor(block));
  } catch (const CErrMessage& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s\n", AppErrorText(errc::kOutOfMemory).c_str());
  } catch (const std::exception&) {
    std::fprintf(stderr, "%s\n", UndefinedErrorText().c_str());
  }
  status = kExitFileError;
  return nullptr;
}

// The memo up to its last line with text, the control files the header names and whether each
// was found, and the 36-track flag.
void PrintRecomposerInfo(const SongInfo& info) {
  std::vector<std::string> memo = MemoLines(info);
  while (!memo.empty() && memo.back().empty()) memo.pop_back();
  std::printf("memo:\n");
  for (const std::string& line : memo) std::printf("  %s\n", line.c_str());
  auto controlFile = [](const char* label, std::string name, bool loaded) {
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) {
      std::printf("%s: none\n", label);
    } else {
      std::printf("%s: %s (%s)\n", label, name.c_str(), loaded ? "found" : "not found");
    }
  };
  controlFile("cm6 file", info.cm6File, info.cm6Loaded);
  controlFile("gsd file", info.gsdFile, info.gsdLoaded);
  if (info.kind == SongKind::G36) controlFile("gsd2 file", info.gsd2File, info.gsd2Loaded);
  std::printf("36 tracks: %s\n", info.is36Track ? "yes" : "no");
}

}  // namespace

int RunInfo(std::span<const std::string_view> args) {
  int status = kExitOk;
  const std::unique_ptr<CMIDIStream> song = LoadSingleSong(args, "info", status);
  if (!song) return status;
  const SongInfo info = song->Info();
  std::printf("kind: %s\n", KindName(info.kind));
  std::printf("subtype: %s\n", SubtypeName(info).c_str());
  std::printf("macbinary: %s\n", info.macBinary ? "yes" : "no");
  std::printf("riff: %s\n", info.riff ? "yes" : "no");
  std::printf("tracks: %d\n", info.trackCount);
  std::printf("time base: %u\n", info.timeBase);
  std::printf("playing time: %s (%llu us)\n", FormatPlayTime(info.playTimeUs).c_str(),
              static_cast<unsigned long long>(info.playTimeUs));
  std::printf("title: %s\n", info.title.c_str());
  if (info.kind != SongKind::Smf) PrintRecomposerInfo(info);
  std::printf("events: %u\n", song->EventCount());
  return FinishStandardOutput();
}

int RunDump(std::span<const std::string_view> args) {
  int status = kExitOk;
  const std::unique_ptr<CMIDIStream> song = LoadSingleSong(args, "dump", status);
  if (!song) return status;
  std::string line;
  for (const StreamEvent& event : song->Events()) {
    line = FormatEventLine(event, *song);
    line.push_back('\n');
    // A table of a million records is not written on into a full disk.
    if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size()) return FinishStandardOutput(errno);
  }
  return FinishStandardOutput();
}

}  // namespace velvasto::cli
