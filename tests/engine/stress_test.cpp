// The transport hammered from two threads while the live timers play and a third thread reads
// the status and drains the monitor. Under ThreadSanitizer (preset tsan) this shows the engine
// free of data races; everywhere it shows that no interleaving deadlocks or breaks playback.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "engine/monotonic_clock.h"
#include "engine/playback_engine.h"
#include "engine/steady_periodic_timer.h"
#include "engine_song.h"
#include "fake_output.h"
#include "recording_sink.h"

namespace velvasto::test {
namespace {

// Real time, but the engine's pauses (after resets, before a chase) only yield, so that the
// hammering threads get many operations in.
class UnpausedClock final : public Clock {
 public:
  std::uint64_t NowUs() const override { return real_.NowUs(); }
  void SleepMs(std::uint32_t) override { std::this_thread::yield(); }

 private:
  MonotonicClock real_;
};

// Two ports, three seconds, something on every millisecond: notes, volumes, expression, bends,
// programs, a SysEx every 50 ms and a tempo change every 100 ms.
void FillDenseSong(EngineSong& song) {
  for (std::uint64_t ms = 0; ms < 3'000; ++ms) {
    const std::uint64_t time = ms * 1'000;
    const PortId port = ms % 2 == 0 ? PortId::A : PortId::B;
    const auto channel = static_cast<std::uint8_t>(ms % 16);
    song.Short(time, port, 0x90 | channel, 60, 100).Short(time, port, 0xB0 | channel, 7, ms % 128);
    song.Short(time, port, 0xB0 | channel, 11, 100).Short(time, port, 0xE0 | channel, 0, ms % 128);
    song.Short(time, port, 0x80 | channel, 60, 0);
    if (ms % 10 == 0) song.Short(time, port, 0xC0 | channel, ms % 128, 0);
    if (ms % 50 == 0) song.SysEx(time, port, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7});
    if (ms % 100 == 0) song.Tempo(time, 60 + ms / 100);
  }
  song.End(3'000'000);
  song.Build();
}

TEST(EngineStress, TransportFromOtherThreadsWhilePlayingIsSafe) {
  UnpausedClock clock;
  SteadyPeriodicTimer dispatchTimer;
  SteadyPeriodicTimer workerTimer;
  FakeOutput portA(clock, "A");
  FakeOutput portB(clock, "B");
  portA.needsPacing = portB.needsPacing = false;
  RecordingSink sink;
  PlaybackEngine engine(clock, dispatchTimer, workerTimer, 1);
  EngineSong song(2);
  FillDenseSong(song);

  std::atomic<int> failures{0};
  std::atomic<bool> hammering{true};
  auto hammer = [&](unsigned seed, bool starts) {
    std::mt19937 random(seed);
    for (int i = 0; i < 500; ++i) {
      try {
        switch (random() % 8) {
          case 0:
            if (starts) {
              engine.Start(song, portA, &portB, sink,
                           {.masterVolume = static_cast<std::uint32_t>(random() % 128), .resets = {.gsReset = true}});
            }
            break;
          case 1:
            if (starts && random() % 4 == 0) engine.Stop();
            break;
          case 2:
            engine.Pause();
            break;
          case 3:
            engine.Resume();
            break;
          case 4:
            engine.Seek(static_cast<std::uint32_t>(random() % 3));
            break;
          default:
            engine.SetMasterVolume(static_cast<std::uint32_t>(random() % 128));
            break;
        }
      } catch (...) {
        ++failures;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 2'000));
    }
  };
  std::thread controller(hammer, 1u, true);
  std::thread slider(hammer, 2u, false);
  std::thread reader([&] {
    std::vector<MonitorEntry> entries;
    std::uint64_t seen = 0;
    while (hammering.load()) {
      engine.TakeMonitorEntries(entries);
      seen += entries.size() + engine.PositionSeconds() + engine.TempoBpm() + engine.MasterVolume();
      seen += static_cast<std::uint64_t>(engine.GetState()) + engine.SongTimeUs();
      std::this_thread::yield();
    }
    EXPECT_GT(seen, 0u);
  });
  controller.join();
  slider.join();
  hammering.store(false);
  reader.join();
  engine.Stop();

  EXPECT_EQ(failures.load(), 0);
  std::size_t notesPlayed = 0;
  for (const std::uint32_t message : portA.Shorts()) notesPlayed += (message & 0xF0) == 0x90 ? 1 : 0;
  EXPECT_GT(notesPlayed, 0u) << "the timer played while the transport was hammered";
  EXPECT_EQ(portA.Log().back().kind, Sent::Kind::Reset) << "nothing is sent after Stop";
  EXPECT_EQ(portB.Log().back().kind, Sent::Kind::Reset);

  // The engine still plays a song to its end afterwards.
  EngineSong shortSong(1);
  shortSong.Short(0, PortId::A, 0x90, 60, 100).Short(20'000, PortId::A, 0x80, 60, 0).End(30'000);
  shortSong.Build();
  sink.Clear();
  engine.Start(shortSong, portA, nullptr, sink, {});
  sink.WaitFor(UM_SONG_END);
  engine.Stop();
  EXPECT_EQ(sink.Count(UM_ENGINE_ERROR), 0u);
}

}  // namespace
}  // namespace velvasto::test
