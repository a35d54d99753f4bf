#pragma once
// The playback engine on the machine's clock, as the desktop program and the terminal player
// use it: a real-time dispatch timer where the system grants it, a normal-priority worker.

#include <cstdint>

#include "engine/monotonic_clock.h"
#include "engine/playback_engine.h"
#include "engine/steady_periodic_timer.h"

namespace velvasto {

class LiveEngine {
 public:
  explicit LiveEngine(std::uint32_t timerPeriodMs,
                      SteadyPeriodicTimer::Priority dispatchPriority = SteadyPeriodicTimer::Priority::RealTime)
      : dispatchTimer_(dispatchPriority), engine_(clock_, dispatchTimer_, workerTimer_, timerPeriodMs) {}

  PlaybackEngine& Engine() { return engine_; }
  const Clock& EngineClock() const { return clock_; }

 private:
  MonotonicClock clock_;
  SteadyPeriodicTimer dispatchTimer_;
  SteadyPeriodicTimer workerTimer_;
  PlaybackEngine engine_;
};

}  // namespace velvasto
