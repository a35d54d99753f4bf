#pragma once
// The texts of the terminal player's status line and of the render progress line, fitted to
// the terminal's width:
//   [2/5] Title of the song   1:23 / 4:56  120 bpm  vol 100  PAUSED
//   Rendering  1:23 / 4:56  [##########..........]  50%
//   [2/5] Playing  1:23 / 4:56  [##########..........]  50%
//   GSD FILE SENDING  [#####...............]  25%
// Everything after the title is always shown; the title takes what room is left.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velvasto::cli {

struct ListPosition {
  int number = 0;  // 1-based place of the song in the list
  int count = 0;
};

struct PlayStatus {
  std::string title;  // UTF-8, straight from the song file
  std::uint32_t positionSeconds = 0;
  std::uint32_t lengthSeconds = 0;
  std::uint32_t tempoBpm = 120;
  std::uint32_t volume = 127;
  bool paused = false;
  std::optional<ListPosition> list;
};

// m:ss, or h:mm:ss from one hour on.
std::string FormatClock(std::uint32_t seconds);
// The same for the whole seconds of `us` (at most UINT32_MAX of them).
std::string FormatClockUs(std::uint64_t us);

// "[2/5] " for the second song of a list of five; empty outside a list.
std::string FormatListPlace(const std::optional<ListPosition>& list);

// The status line in at most `columns` columns.
std::string FormatPlayStatus(const PlayStatus& status, int columns);

// "[####......]" `barColumns` wide inside the brackets, then the percentage; `done` beyond
// `total` counts as complete, a `total` of 0 as complete.
std::string FormatProgressBar(std::uint64_t done, std::uint64_t total, int barColumns);

// The line shown while a control file is sent, in at most `columns` columns: its text
// ("CM6 FILE SENDING") and a bar of the messages sent of the block's (none when there is too
// little room).
std::string FormatSendingProgress(std::string_view text, std::uint64_t sent, std::uint64_t total, int columns);

// A progress line in at most `columns` columns: the label ("Rendering", "Playing"), the time
// done of the song's length, and a bar taking the room that is left (none when there is too
// little).
std::string FormatProgressLine(std::string_view label, std::uint64_t doneUs, std::uint64_t lengthUs, int columns);

}  // namespace velvasto::cli
