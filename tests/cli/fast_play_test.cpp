// Fast play through record:FILE writes what live play sends, line for line.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/output/output_plan.h"
#include "core/cini_file.h"
#include "engine/fast_player.h"
#include "engine/live_engine.h"
#include "midiout/device_registry.h"
#include "song/midi_file.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto::cli {
namespace {

constexpr std::uint32_t kPeriodMs = 5;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// 150 ms on two ports: a GS reset, a program, notes on channel 1 of PORT A and channel 2 of
// PORT B, a channel volume on PORT A. 96 ticks = 100 ms at 120 bpm.
std::unique_ptr<CMIDIFile> TwoPortSong() {
  test::SmfBuilder smf(1, 480);
  smf.AddTrack().Tempo(0, 500000).SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}).EndOfTrack();
  smf.AddTrack().Program(0, 0, 5).NoteOn(0, 0, 60, 100).Control(24, 0, 7, 127).NoteOff(72, 0, 60).EndOfTrack();
  smf.AddTrack().Port(0, 1).NoteOn(48, 1, 64, 90).NoteOff(96, 1, 64).EndOfTrack();
  SongSettings settings;
  settings.portCount = 2;
  auto song = std::make_unique<CMIDIFile>(settings);
  EXPECT_TRUE(song->LoadFromMemory(smf.Build()));
  return song;
}

class Ignore final : public EngineNotificationSink {
 public:
  void Post(std::uint32_t, std::uint32_t, std::int32_t) noexcept override {}
};

// Waits for the end of the song on a live engine.
class EndWait final : public EngineNotificationSink {
 public:
  void Post(std::uint32_t message, std::uint32_t, std::int32_t) noexcept override {
    if (message != UM_SONG_END && message != UM_ENGINE_ERROR) return;
    std::lock_guard lock(mutex_);
    done_ = true;
    ended_ = message == UM_SONG_END;
    wake_.notify_all();
  }
  bool WaitForEnd() {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::seconds(30), [this] { return done_; });
    return ended_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  bool ended_ = false;
};

class FastPlayTest : public ::testing::Test {
 protected:
  FastPlayTest() { CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini"); }
  ~FastPlayTest() override { CINIFile::SetSettingsPath({}); }

  // A plan that records both ports into `name` in the test folder.
  OutputPlan Recording(const std::string& name) {
    OutputRequest request;
    AddOutOption("A=record:" + (dir.Path() / name).string(), request);
    AddOutOption("B=record:" + (dir.Path() / name).string(), request);
    CMIDIPort choice;
    choice.Load(registry);
    return OutputPlan::Resolve(request, choice, registry);
  }

  std::string Recorded(const std::string& name) const { return test::ReadWholeFile(dir.Path() / name); }

  test::TempDir dir;
  DeviceRegistry registry{SynthConfig{}};
  StartOptions options{.masterVolume = 64, .resets = {.gsReset = true}};
};

TEST_F(FastPlayTest, RecordsTheExactLinesLivePlayWouldSend) {
  const std::unique_ptr<CMIDIFile> song = TwoPortSong();
  {
    const OutputPlan plan = Recording("fast.txt");
    const auto ports = plan.Open(registry);
    Ignore ignore;
    FastPlayer(kPeriodMs).Play(*song, *ports->Device(PortId::A), ports->Device(PortId::B), options, ignore);
  }
  std::vector<std::string> expected = {
      // The GS reset switched on in the settings, to each port before the song.
      "0 A SYX F0 41 10 42 12 40 00 7F 00 41 F7",
      "0 B SYX F0 41 10 42 12 40 00 7F 00 41 F7",
      // The song's own GS reset, its program, and the default volume 100 × 64 ÷ 127 before the
      // first note of each channel.
      "0 A SYX F0 41 10 42 12 40 00 7F 00 41 F7",
      "0 A MSG C0 05",
      "0 A MSG B0 07 32",
      "0 A MSG 90 3C 64",
      "25000 A MSG B0 07 40",  // 127 × 64 ÷ 127
      "50000 B MSG B1 07 32",
      "50000 B MSG 91 40 5A",
      "100000 A MSG 80 3C 40",
      "150000 B MSG 81 40 40",
  };
  // Stop's sound-off on every channel, PORT A then PORT B, at the song time of the end.
  for (const char port : {'A', 'B'}) {
    for (int channel = 0; channel < 16; ++channel) {
      for (const char* controller : {"40", "42", "7B", "78"}) {
        char line[64];
        std::snprintf(line, sizeof line, "150000 %c MSG B%X %s 00", port, channel, controller);
        expected.push_back(line);
      }
    }
  }
  EXPECT_EQ(Lines(Recorded("fast.txt")), expected);
}

TEST_F(FastPlayTest, LivePlayRecordsTheSameLinesAsFastPlay) {
  const std::unique_ptr<CMIDIFile> song = TwoPortSong();
  {
    const OutputPlan plan = Recording("fast.txt");
    const auto ports = plan.Open(registry);
    Ignore ignore;
    FastPlayer(kPeriodMs).Play(*song, *ports->Device(PortId::A), ports->Device(PortId::B), options, ignore);
  }
  {
    // The live engine on the real clock: the song takes its 150 ms. What is compared is the
    // order of the messages and their song times, which do not depend on the timer's luck.
    const OutputPlan plan = Recording("live.txt");
    const auto ports = plan.Open(registry);
    LiveEngine live(kPeriodMs);
    PlaybackEngine& engine = live.Engine();
    EndWait end;
    engine.Start(*song, *ports->Device(PortId::A), ports->Device(PortId::B), end, options);
    ASSERT_TRUE(end.WaitForEnd());
    engine.Stop();
  }
  EXPECT_EQ(Lines(Recorded("live.txt")), Lines(Recorded("fast.txt")));
}

}  // namespace
}  // namespace velvasto::cli
