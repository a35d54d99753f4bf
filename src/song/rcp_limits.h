#pragma once
// How far one conversion pass of a Recomposer song may go. Loops of loops ask for up to 255^5
// rounds, and same-measure references that re-enter loop starts can repeat without end; these
// limits make every file end in bounded time and memory. The defaults lie some ten times above
// what the longest real songs need.

#include <cstdint>

namespace velvasto {

struct RcpPassLimits {
  // Commands a pass may run; past it the file is damaged (error 30 RCP, 55 G36).
  std::uint64_t maxCommands = 1u << 24;
  // Records a table may have (256 MiB of them, hours of dense music); past it the song is out
  // of memory (error 1). At most CMIDIStream::kMaxEvents.
  std::uint32_t maxRecords = 1u << 24;
  // Song time a pass may reach, in microseconds: 24 hours; past it the file is damaged.
  std::uint64_t maxSongTimeUs = 24ull * 60 * 60 * 1'000'000;
};

}  // namespace velvasto
