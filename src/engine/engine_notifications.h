#pragma once
// What the engine tells its owner: the same message numbers and parameters as the window
// messages the main view handles. The desktop shell turns them into queued events, the terminal
// player handles them on its own loop.

#include <cstdint>

namespace velvasto {

// No parameters: the end record was reached and every monitor entry before it handed over.
inline constexpr std::uint32_t UM_SONG_END = 0x0502;
// wParam: error class (ErrorClass), lParam: the error code. Playback stopped sending.
inline constexpr std::uint32_t UM_ENGINE_ERROR = 0x0503;
// No parameters: new entries wait in the application monitor ring.
inline constexpr std::uint32_t UM_MONITOR_EVENTS = 0x0504;
// wParam: song position in whole seconds from the start of the song proper.
inline constexpr std::uint32_t UM_TIME_UPDATE = 0x0505;

class EngineNotificationSink {
 public:
  virtual ~EngineNotificationSink() = default;

  // Called on the engine's worker thread, and on the thread of a transport call (seek, master
  // volume). Must hand the message on and return: it must not call back into the engine.
  virtual void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept = 0;
};

}  // namespace velvasto
