#pragma once
// The worker's pass, every 10 ms while a song is started: hands monitor entries over to the
// application ring, tells the owner the position once a second, and reports the end of the song
// and errors once each. Everything the timer callback must not do itself.

#include <cstdint>
#include <mutex>

#include "engine/engine_notifications.h"
#include "engine/playback_core.h"

namespace velvasto {

inline constexpr std::uint32_t kWorkerPeriodMs = 10;

class MonitorWorker {
 public:
  // `positionMutex` is held by a seek while it moves the song; the worker only tries it and posts
  // no position while a seek runs.
  MonitorWorker(PlaybackCore& core, std::mutex& positionMutex) : core_(core), positionMutex_(positionMutex) {}

  // Before the worker's timer starts for a song.
  void Restart(EngineNotificationSink& sink, std::uint64_t nowUs);
  // `playing` is false while the song is paused.
  void Pass(std::uint64_t nowUs, bool playing);

 private:
  void PostPosition(std::uint64_t nowUs, bool playing);
  void Post(std::uint32_t message, std::uint32_t wParam = 0, std::int32_t lParam = 0);

  PlaybackCore& core_;
  std::mutex& positionMutex_;
  EngineNotificationSink* sink_ = nullptr;
  std::uint64_t lastPositionUs_ = 0;
  bool endPosted_ = false;
  bool errorPosted_ = false;
};

}  // namespace velvasto
