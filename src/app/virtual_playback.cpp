#include "app/virtual_playback.h"

#include <algorithm>

#include "engine/stall_watch.h"

namespace velvasto {

VirtualPlayback::Outcome VirtualPlayback::Run(PlayerController& controller, std::uint32_t periodMs,
                                              const std::function<bool()>& keepGoing) {
  StallWatch stallWatch;
  while (controller.Song() != nullptr) {
    if (keepGoing && !keepGoing()) return Outcome::Halted;
    clock_.AdvanceMs(std::max<std::uint32_t>(periodMs, 1));
    const PlayerStatus status = controller.Status();
    if (stallWatch.Stalled(status.playState == PlayState::Playing, status.songTimeUs, clock_.NowUs())) {
      return Outcome::Stalled;
    }
    controller.ProcessNotifications();
  }
  return Outcome::Finished;
}

}  // namespace velvasto
