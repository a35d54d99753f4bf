#pragma once
// What the view's title area shows of the loaded song: its title, and one line saying what the
// song is (file kind, tracks, time base, length, the control files sent ahead of it).

#include <cstdint>
#include <string>

#include "song/song_info.h"

namespace velvasto::gui {

struct TitleAreaText {
  std::string title;
  std::string details;

  bool operator==(const TitleAreaText&) const = default;
};

TitleAreaText DescribeSong(const SongInfo& info);

// A song's length as "m:ss", or "h:mm:ss" from an hour on; whole seconds, rounded down.
std::string PlayTimeText(std::uint64_t microseconds);

}  // namespace velvasto::gui
