// The transport hammered from two threads while the live timers play and a third thread reads
// the status and drains the monitor. Under ThreadSanitizer (preset tsan) this shows the engine
// free of data races; everywhere it shows that no interleaving deadlocks or breaks playback.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "engine/monotonic_clock.h"
#include "engine/steady_periodic_timer.h"
#include "engine_fixture.h"

namespace velvasto::test {
namespace {

// Real time, but the engine's pauses (after resets, before a chase) only yield, so that the
// hammering threads get many operations in.
struct UnpausedClock final : Clock {
  std::uint64_t NowUs() const override { return real.NowUs(); }
  void SleepMs(std::uint32_t) override { std::this_thread::yield(); }
  MonotonicClock real;
};

struct NoNotifications final : EngineNotificationSink {
  void Post(std::uint32_t, std::uint32_t, std::int32_t) noexcept override {}
};

TEST(EngineStress, TransportFromOtherThreadsWhilePlayingIsSafe) {
  // Two ports, three seconds, something on every millisecond: notes, volumes, bends, programs, a
  // SysEx every 50 ms and a tempo change every 100 ms.
  EngineSong song(2);
  for (std::uint64_t ms = 0; ms < 3'000; ++ms) {
    const PortId port = ms % 2 == 0 ? PortId::A : PortId::B;
    for (const auto status : {0x90u, 0xB0u, 0xE0u, 0x80u, 0xC0u}) song.Short(ms * 1'000, port, status | ms % 16, 7, ms % 128);
    if (ms % 50 == 0) song.SysEx(ms * 1'000, port, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7});
    if (ms % 100 == 0) song.Tempo(ms * 1'000, 60 + ms / 100);
  }
  song.End(3'000'000).Build();
  UnpausedClock clock;
  SteadyPeriodicTimer dispatchTimer, workerTimer;
  FakeOutput portA(clock), portB(clock);
  portA.needsPacing = portB.needsPacing = false;
  NoNotifications sink;
  PlaybackEngine engine(clock, dispatchTimer, workerTimer, 1);

  std::atomic<bool> hammering{true};
  // Only the controller starts and stops; both pause, resume, seek and move the volume.
  auto hammer = [&](unsigned seed, bool controller) {
    std::mt19937 random(seed);
    for (int i = 0; i < 500; ++i) {
      const auto value = static_cast<std::uint32_t>(random() % 128);
      const auto operation = random() % 8;
      try {
        if (operation == 0 && controller) engine.Start(song, portA, &portB, sink, {value, {.gsReset = true}});
        if (operation == 1 && controller && value % 4 == 0) engine.Stop();
        if (operation == 2) engine.Pause();
        if (operation == 3) engine.Resume();
        if (operation == 4) engine.Seek(value % 3);
        if (operation >= 5) engine.SetMasterVolume(value);
      } catch (...) {
        ADD_FAILURE() << "operation " << operation << " threw";
      }
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 2'000));
    }
  };
  std::thread controller(hammer, 1u, true), slider(hammer, 2u, false);
  std::thread reader([&] {
    std::vector<MonitorEntry> entries;
    while (hammering.load()) {
      engine.TakeMonitorEntries(entries);
      [[maybe_unused]] volatile auto status = engine.PositionSeconds() + engine.TempoBpm() + engine.MasterVolume();
    }
  });
  controller.join();
  slider.join();
  hammering.store(false);
  reader.join();
  engine.Stop();
  EXPECT_TRUE(std::ranges::any_of(portA.Shorts(), [](std::uint32_t m) { return (m & 0xF0) == 0x90; }))
      << "the timer played while hammered";
  EXPECT_EQ(portA.log.back().kind, Sent::Kind::ControllerReset) << "nothing is sent after Stop";

  const std::size_t before = portA.log.size();
  engine.Start(song, portA, &portB, sink, {});
  while (engine.SongTimeUs() < 20'000) std::this_thread::yield();
  engine.Stop();
  EXPECT_EQ(portA.Shorts(before).at(0), Msg(0xB0, 7, 100)) << "the engine still plays from the start afterwards";
}

}  // namespace
}  // namespace velvasto::test
