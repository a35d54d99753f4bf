#pragma once
// An engine on virtual time with two fake output devices: tests move the clock by hand, the
// timers fire as it passes their deadlines, and nothing sleeps.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/playback_engine.h"
#include "engine/virtual_clock.h"
#include "fake_output.h"
#include "recording_sink.h"
#include "engine_song.h"

namespace velvasto::test {

// Packs a short message as the devices receive it.
constexpr std::uint32_t Msg(std::uint32_t status, std::uint32_t data1, std::uint32_t data2 = 0) {
  return status | data1 << 8 | data2 << 16;
}

class EngineTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kPeriodMs = 5;

  void Start(CMIDIStream& song, StartOptions options = {}) { engine.Start(song, portA, &portB, sink, options); }
  std::vector<MonitorEntry> TakeMonitor() {
    std::vector<MonitorEntry> entries;
    engine.TakeMonitorEntries(entries);
    return entries;
  }

  VirtualClock clock;
  VirtualTimer dispatchTimer{clock};
  VirtualTimer workerTimer{clock};
  FakeOutput portA{clock, "A"};
  FakeOutput portB{clock, "B"};
  RecordingSink sink;
  PlaybackEngine engine{clock, dispatchTimer, workerTimer, kPeriodMs};
};

}  // namespace velvasto::test
