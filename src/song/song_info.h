#pragma once
// What a reader reports about the song it loaded: the view's title area, the property window
// and `velvasto-cli info` show it.

#include <cstdint>
#include <string>

namespace velvasto {

enum class SongKind : std::int32_t { Smf = 0, Rcp = 1, G36 = 2 };

struct SongInfo {
  std::string title;  // UTF-8
  std::string memo;   // raw bytes in CP932 (RCP/G36 only)
  // The control files the header names (RCP/G36 only), trailing blanks kept as the file has
  // them, and whether each was found and is sent ahead of the song. A display that shows only
  // the files in use shows a name when its file is loaded.
  std::string cm6File;
  std::string gsdFile;
  std::string gsd2File;
  bool cm6Loaded = false;
  bool gsdLoaded = false;
  bool gsd2Loaded = false;
  // RCP: the 36-track flag (an R36 song); false for other kinds.
  bool is36Track = false;
  std::uint64_t playTimeUs = 0;  // length of the song proper
  std::uint32_t timeBase = 0;    // ticks per quarter note
  SongKind kind = SongKind::Smf;
  std::int32_t subtype = 0;  // SMF: format; RCP: 0 RCP, 1 R36; G36: 0 G36, 1 G18
  bool macBinary = false;
  bool riff = false;
  std::int32_t trackCount = 0;
  // The instrument map applied: 0 none, 1 SC-55, 2 SC-88, 3 SC-88Pro.
  std::int32_t mapResult = 0;
};

}  // namespace velvasto
