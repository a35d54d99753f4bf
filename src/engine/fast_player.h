#pragma once
// Plays a whole song on virtual time as fast as the machine allows: the live engine, dispatch
// and worker included, driven by a virtual clock that jumps from one timer deadline to the next.
// Through a recording device it writes exactly what live play would send, with the song times
// and at the clock times live play would send it.

#include <cstdint>

#include "engine/playback_engine.h"
#include "engine/virtual_clock.h"

namespace velvasto {

class FastPlayer {
 public:
  explicit FastPlayer(std::uint32_t timerPeriodMs);

  // Plays `song` from the start of its table to its end record, then stops the engine (which
  // silences and resets the devices). Every notification is handed on to `sink`. Throws what
  // Start and Stop throw, the engine's error as the exception it stands for, and 1009 when a
  // device never finishes a System Exclusive message (see StallWatch).
  void Play(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB, const StartOptions& options,
            EngineNotificationSink& sink);

  const VirtualClock& Clock() const { return clock_; }

 private:
  VirtualClock clock_;
  VirtualTimer dispatchTimer_{clock_};
  VirtualTimer workerTimer_{clock_};
  PlaybackEngine engine_;
};

}  // namespace velvasto
