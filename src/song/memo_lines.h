#pragma once
// The memo of an RCP or G36 song as it is shown: 12 lines of 28 bytes (RCP) or 30 bytes (G36),
// each converted from CP932 on its own, trailing blanks and zero bytes removed. Standard MIDI
// Files have no memo.

#include <string>
#include <vector>

#include "song/song_info.h"

namespace velvasto {

std::vector<std::string> MemoLines(const SongInfo& info);

}  // namespace velvasto
