#pragma once
// One run of the playback timer: sends every record of the table whose time has come.

#include <cstdint>

#include "engine/playback_core.h"

namespace velvasto {

// Song time advances in whole milliseconds of clock time since the last run, so a late run sends
// in one burst everything that fell due meanwhile and the song never stretches. A System
// Exclusive message holds the song time until its device is done with it; the wait is made up
// afterwards. Before sending, the devices learn where the song's clock stands whenever it has
// moved against the clock. A failure is recorded in the core and ends sending. The caller holds
// core.volumeMutex.
void DispatchTick(PlaybackCore& core, std::uint64_t nowUs);

}  // namespace velvasto
