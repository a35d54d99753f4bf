#include "app/virtual_playback.h"

#include <algorithm>

namespace velvasto {

namespace {

// How far past its end record a song's clock may run before the song counts as stalled.
constexpr std::uint64_t kStallLimitUs = 60'000'000;

}  // namespace

VirtualPlayback::Outcome VirtualPlayback::Run(PlayerController& controller, std::uint32_t periodMs,
                                              const std::function<bool()>& keepGoing) {
  std::uint64_t start = 0;
  std::uint64_t startedUs = 0;
  while (const CMIDIStream* song = controller.Song()) {
    if (keepGoing && !keepGoing()) return Outcome::Halted;
    if (controller.StartNumber() != start) {
      start = controller.StartNumber();
      startedUs = clock_.NowUs();
    }
    const std::uint64_t endUs = song->Events().empty() ? 0 : song->Events().back().time;
    if (clock_.NowUs() - startedUs > endUs + kStallLimitUs) return Outcome::Stalled;
    clock_.AdvanceMs(std::max<std::uint32_t>(periodMs, 1));
    controller.ProcessNotifications();
  }
  return Outcome::Finished;
}

}  // namespace velvasto
