#pragma once
// Virtual time for the player controller: the clock and timers its engines run on, and the loop
// that plays whatever the controller plays (a song, a whole list) as fast as the machine allows.
// Through recording devices it writes what live play would send, with the same song times, in
// the same order, with the same messages to the user.

#include <cstdint>
#include <functional>

#include "app/player_controller.h"
#include "app/song_slot.h"
#include "engine/virtual_clock.h"

namespace velvasto {

class VirtualPlayback {
 public:
  enum class Outcome {
    Finished,  // nothing is loaded any more (end of the list, a single song's end, an error)
    Halted,    // `keepGoing` said no
    Stalled,   // a device never finished a System Exclusive message (see StallWatch)
  };

  VirtualPlayback() = default;
  VirtualPlayback(const VirtualPlayback&) = delete;
  VirtualPlayback& operator=(const VirtualPlayback&) = delete;

  PlaybackTiming Timing() { return {clock_, dispatchTimer_, workerTimer_}; }
  VirtualClock& Clock() { return clock_; }

  // While the controller has a song loaded: moves time on by `periodMs` and lets the controller
  // handle what its engine posted, as the owner's loop does in live play. `keepGoing` is asked
  // before each step (null: always).
  Outcome Run(PlayerController& controller, std::uint32_t periodMs, const std::function<bool()>& keepGoing = nullptr);

 private:
  VirtualClock clock_;
  VirtualTimer dispatchTimer_{clock_};
  VirtualTimer workerTimer_{clock_};
};

}  // namespace velvasto
