#pragma once
// The chase after a seek: rebuilds the controller state the song has at the target by replaying
// the records before it that change it, without sounding any note.

#include <cstdint>

#include "engine/clock.h"
#include "engine/engine_notifications.h"
#include "engine/playback_core.h"

namespace velvasto {

// Replays the records from `startIndex` whose time lies before `targetUs` and leaves the current
// index at the first record not consumed. Runs while the timer is stopped, with
// core.volumeMutex held. Channel volume, expression and pitch bend are sent once per channel at
// the end, with their last values; other controllers, programs, pressures and System Exclusive
// messages are sent as they come, spaced out for devices that need it. The end record is never
// consumed: a target past the end lets the next timer run end the song. Throws the error of a
// failed send.
void Chase(PlaybackCore& core, Clock& clock, std::uint32_t startIndex, std::uint64_t targetUs,
           EngineNotificationSink& sink);

}  // namespace velvasto
