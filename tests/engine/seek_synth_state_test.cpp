// What a seek leaves in the built-in synthesizer: the programs, controllers and pitch bend of its
// channels, read back from FluidSynth, are those the song has at the target, whichever way the
// seek went.

#include <gtest/gtest.h>

#include <memory>

#include "engine_fixture.h"
#include "midiout/backends/synth_core.h"
#include "midiout/backends/synth_input_device.h"

namespace velvasto::test {
namespace {

// The synthesizer without an audio output or a SoundFont: messages change the state of its
// channels and nothing sounds.
class SilentSynth final : public SynthTarget {
 public:
  void Attach() override {}
  void Detach() override {}
  void Short(int firstChannel, std::uint32_t message, std::uint64_t) override { core.ApplyShort(firstChannel, message); }
  void SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t) override {
    core.ApplySysEx(firstChannel, message);
  }
  void Release(int firstChannel) override { core.ReleaseInput(firstChannel); }
  void ResetControllers(int firstChannel) override { core.ResetControllers(firstChannel); }

  SynthCore core{44100};
};

// What the song has set on one channel.
struct ChannelState {
  int program, modulation, volume, expression, bend;
  bool operator==(const ChannelState&) const = default;
};

void PrintTo(const ChannelState& s, std::ostream* out) {
  *out << "program " << s.program << ", modulation " << s.modulation << ", volume " << s.volume << ", expression "
       << s.expression << ", bend " << s.bend;
}

// Channel 1 plays with program 5, modulation 30, volume 100, expression 20 and a bend up from
// 0 s and changes to program 9, expression 90 and a bend down at 3 s; channel 2 sets its
// expression only at 3 s. The song ends at 10 s.
class SeekSynthStateTest : public ::testing::Test {
 protected:
  static constexpr ChannelState kFromStart{5, 30, 100, 20, 0x50 << 7};
  static constexpr ChannelState kFromThreeSeconds{9, 30, 100, 90, 0x30 << 7};

  SeekSynthStateTest() {
    song.Short(0, PortId::A, 0xC0, 5).Short(0, PortId::A, 0xB0, 1, 30).Short(0, PortId::A, 0xB0, 7, 100);
    song.Short(0, PortId::A, 0xB0, 11, 20).Short(0, PortId::A, 0xE0, 0, 0x50).Short(0, PortId::A, 0x90, 60, 100);
    song.Short(0, PortId::A, 0x91, 64, 100);
    song.Short(3'000'000, PortId::A, 0xC0, 9).Short(3'000'000, PortId::A, 0xB0, 11, 90);
    song.Short(3'000'000, PortId::A, 0xE0, 0, 0x30).Short(3'000'000, PortId::A, 0xB1, 11, 40);
    song.End(10'000'000).Build();
    device.Open();
    engine.Start(song, device, nullptr, sink, {});
  }

  ChannelState Channel(int channel) const {
    fluid_synth_t* fluid = synth->core.Synth();
    int soundFont = 0, bank = 0;
    ChannelState s{};
    fluid_synth_get_program(fluid, channel, &soundFont, &bank, &s.program);
    fluid_synth_get_cc(fluid, channel, 1, &s.modulation);
    fluid_synth_get_cc(fluid, channel, 7, &s.volume);
    fluid_synth_get_cc(fluid, channel, 11, &s.expression);
    fluid_synth_get_pitch_bend(fluid, channel, &s.bend);
    return s;
  }
  int Expression(int channel) const {
    int value = 0;
    fluid_synth_get_cc(synth->core.Synth(), channel, 11, &value);
    return value;
  }

  EngineSong song;
  std::shared_ptr<SilentSynth> synth = std::make_shared<SilentSynth>();
  SynthInputDevice device{"synth A", 0, synth};
  VirtualClock clock;
  VirtualTimer dispatchTimer{clock}, workerTimer{clock};
  RecordingSink sink;
  PlaybackEngine engine{clock, dispatchTimer, workerTimer, 5};
};

TEST_F(SeekSynthStateTest, ForwardSeeksKeepWhatTheSongSetBeforeTheOldPosition) {
  clock.AdvanceMs(1'000);
  ASSERT_EQ(Channel(0), kFromStart) << "as played";
  engine.Seek(2);
  EXPECT_EQ(Channel(0), kFromStart) << "nothing set between 1 s and 2 s";
  engine.Seek(5);
  EXPECT_EQ(Channel(0), kFromThreeSeconds);
  EXPECT_EQ(Expression(1), 40);
  engine.Pause();
  engine.Seek(7);
  EXPECT_EQ(Channel(0), kFromThreeSeconds) << "paused";
}

TEST_F(SeekSynthStateTest, BackwardSeeksLeaveNothingTheSongSetsOnlyAfterTheTarget) {
  clock.AdvanceMs(4'000);
  ASSERT_EQ(Channel(0), kFromThreeSeconds) << "as played";
  ASSERT_EQ(Expression(1), 40) << "as played";
  engine.Seek(1);
  EXPECT_EQ(Channel(0), kFromStart);
  EXPECT_EQ(Expression(1), 127) << "channel 2's expression is first set at 3 s";
  engine.Pause();
  engine.Seek(5);
  engine.Seek(2);
  EXPECT_EQ(Channel(0), kFromStart) << "paused";
  EXPECT_EQ(Expression(1), 127) << "paused";
}

}  // namespace
}  // namespace velvasto::test
