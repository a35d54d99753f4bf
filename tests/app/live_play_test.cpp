// A list played by the controller on the machine's clock: the engine's threads post, the
// controller's queue wakes the owner, the owner handles the notices on its own thread. Run
// under ThreadSanitizer too (scripts/test.sh).

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <semaphore>

#include "controller_fixture.h"
#include "core/cini_file.h"
#include "engine/monotonic_clock.h"
#include "engine/steady_periodic_timer.h"
#include "support/smf_builder.h"

namespace velvasto::test {
namespace {

// Released by the engine's worker thread, taken on the test's; false after a minute without a
// release: the player hangs.
using Wakeup = std::counting_semaphore<>;
bool Wait(Wakeup& wakeup) { return wakeup.try_acquire_for(std::chrono::minutes(1)); }

TEST(LivePlayTest, AListPlaysThroughOnTheMachinesClockAsOnVirtualTime) {
  TempDir dir;
  CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini");
  std::vector<std::filesystem::path> songs;
  for (const std::uint8_t note : {60, 62, 64}) {
    SmfBuilder smf(0, 480);
    // 96 ticks: a tenth of a second at 120 beats per minute.
    smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(96, 0, note).EndOfTrack(0);
    songs.push_back(dir.Write("s" + std::to_string(note) + ".mid", smf.Build()));
  }

  const auto play = [&](PlaybackTiming timing, const std::function<void(PlayerController&, Wakeup&)>& run) {
    CVelvastoApp app;
    RecordingCatalogue devices({"Out A"});
    app.activePort.Load(devices);
    app.defaultPort = app.activePort;
    app.openRequest.paths = songs;
    LoggingView view;
    LoggingMonitor monitor;
    ScriptedPrompt prompt;
    Wakeup wakeup(0);
    {
      PlayerController controller({app, devices, timing, view, monitor, prompt}, [&wakeup] { wakeup.release(); });
      controller.Open();
      run(controller, wakeup);
      EXPECT_EQ(controller.Song(), nullptr);
      EXPECT_TRUE(prompt.errors.empty());
    }
    return devices.Lines("mapper");
  };

  MonotonicClock clock;
  SteadyPeriodicTimer dispatchTimer;
  SteadyPeriodicTimer workerTimer;
  const auto live = play({clock, dispatchTimer, workerTimer}, [](PlayerController& controller, Wakeup& wakeup) {
    while (controller.Song() != nullptr) {
      ASSERT_TRUE(Wait(wakeup)) << "the player hangs";
      controller.ProcessNotifications();
    }
  });
  VirtualPlayback playback;
  const auto fast = play(playback.Timing(), [&](PlayerController& controller, Wakeup&) { playback.Run(controller, 5); });
  EXPECT_EQ(live, fast);
  EXPECT_EQ(live.size(), 3u * (3 + 64));
  CINIFile::SetSettingsPath({});
}

}  // namespace
}  // namespace velvasto::test
