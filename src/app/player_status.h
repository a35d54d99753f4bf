#pragma once
// What the displays show of the player at a moment: the terminal player's status line, the
// desktop program's time, tempo and volume displays. A plain value, taken from the player
// controller whenever it is wanted (any number of times a second), so that no display reaches
// into the engine.

#include <cstdint>

#include "app/velvasto_app.h"

namespace velvasto {

struct PlayerStatus {
  PlayState playState = PlayState::Stopped;
  // Whole seconds from the start of the song proper (0 while its control files are sent), and
  // the song proper's length in whole seconds; both 0 when no song is loaded.
  std::uint32_t positionSeconds = 0;
  std::uint32_t lengthSeconds = 0;
  // Beats per minute of the last tempo record played; 120 before the first and when no song is
  // loaded.
  std::uint32_t tempoBpm = 120;
  // The master volume 0..127 the song plays at; "Volume Value" when no song is loaded.
  std::uint32_t masterVolume = 127;
  // The song time in microseconds from the start of the table; it stands still while a System
  // Exclusive message is in flight. 0 when no song is loaded.
  std::uint64_t songTimeUs = 0;

  bool operator==(const PlayerStatus&) const = default;
};

}  // namespace velvasto
