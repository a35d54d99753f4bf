#pragma once
// The player's keys, decoded from the bytes a terminal sends:
//   space        pause / resume          r      restart the song from its beginning
//   ← →          back / forward          n      next song of the list
//   + (or =)     volume up               q      quit
//   - (or _)     volume down
// Letters count in either case. Arrows come as escape sequences (ESC [ D, ESC [ C, or
// ESC O D, ESC O C in the terminal's application mode, also with modifiers as in ESC [ 1 ; 5 C);
// a sequence may be split across reads. Every other key and sequence is ignored, so a stray
// function key or mouse report never turns into a command.

#include <cstdint>
#include <span>
#include <vector>

namespace velvasto::cli {

enum class KeyCommand : std::uint8_t { PauseResume, Back, Forward, Restart, VolumeUp, VolumeDown, Next, Quit };

class KeyDecoder {
 public:
  // Decodes `bytes` (continuing a sequence an earlier call left open) and appends the commands
  // to `out` in the order they were typed.
  void Feed(std::span<const std::uint8_t> bytes, std::vector<KeyCommand>& out);

 private:
  enum class State : std::uint8_t { Ground, Escape, ControlSequence, SingleShift };

  void Ground(std::uint8_t byte, std::vector<KeyCommand>& out);

  State state_ = State::Ground;
};

}  // namespace velvasto::cli
