// What a seek leaves in the built-in synthesizer: the programs, controllers and pitch bend of its
// channels, read back from FluidSynth, are those the song has at the target, whichever way the
// seek went.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

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

// What the song has set on channel 1, and channel 2's expression.
struct ChannelState {
  int program, modulation, volume, expression, bend, secondExpression;
  bool operator==(const ChannelState&) const = default;
};

void PrintTo(const ChannelState& s, std::ostream* out) {
  *out << "program " << s.program << ", modulation " << s.modulation << ", volume " << s.volume << ", expression "
       << s.expression << ", bend " << s.bend << ", channel 2's expression " << s.secondExpression;
}

// Channel 1 plays with program 5, modulation 30, volume 100, expression 20 and a bend up from
// 0 s and changes to program 9, expression 90 and a bend down at 3 s; channel 2 sets its
// expression (to 40) only at 3 s. The song ends at 10 s.
TEST(SeekSynthStateTest, ASeekEitherWayLeavesWhatTheSongSetUpToTheTargetAndNothingAfterIt) {
  constexpr ChannelState kFromStart{5, 30, 100, 20, 0x50 << 7, 127};
  constexpr ChannelState kFromThreeSeconds{9, 30, 100, 90, 0x30 << 7, 40};
  EngineSong song;
  song.Short(0, PortId::A, 0xC0, 5).Short(0, PortId::A, 0xB0, 1, 30).Short(0, PortId::A, 0xB0, 7, 100);
  song.Short(0, PortId::A, 0xB0, 11, 20).Short(0, PortId::A, 0xE0, 0, 0x50).Short(0, PortId::A, 0x90, 60, 100);
  song.Short(0, PortId::A, 0x91, 64, 100);
  song.Short(3'000'000, PortId::A, 0xC0, 9).Short(3'000'000, PortId::A, 0xB0, 11, 90);
  song.Short(3'000'000, PortId::A, 0xE0, 0, 0x30).Short(3'000'000, PortId::A, 0xB1, 11, 40);
  song.End(10'000'000).Build();
  const auto synth = std::make_shared<SilentSynth>();
  SynthInputDevice device{"synth A", 0, synth};
  VirtualClock clock;
  VirtualTimer dispatchTimer{clock}, workerTimer{clock};
  RecordingSink sink;
  PlaybackEngine engine{clock, dispatchTimer, workerTimer, 5};
  device.Open();
  engine.Start(song, device, nullptr, sink, {});
  const auto state = [&] {
    fluid_synth_t* fluid = synth->core.Synth();
    int soundFont = 0, bank = 0;
    ChannelState s{};
    fluid_synth_get_program(fluid, 0, &soundFont, &bank, &s.program);
    fluid_synth_get_cc(fluid, 0, 1, &s.modulation);
    fluid_synth_get_cc(fluid, 0, 7, &s.volume);
    fluid_synth_get_cc(fluid, 0, 11, &s.expression);
    fluid_synth_get_pitch_bend(fluid, 0, &s.bend);
    fluid_synth_get_cc(fluid, 1, 11, &s.secondExpression);
    return s;
  };

  clock.AdvanceMs(1'000);
  ASSERT_EQ(state(), kFromStart) << "as played";
  // The seek to be done and the state it leaves; forward seeks keep what the song set before the
  // old position, backward ones leave nothing it sets only after the target.
  const std::tuple<int, bool, ChannelState> seeks[] = {
      {2, false, kFromStart},  {5, false, kFromThreeSeconds}, {1, false, kFromStart},
      {7, true, kFromThreeSeconds}, {2, true, kFromStart},  // paused
  };
  for (const auto& [seconds, paused, expected] : seeks) {
    if (paused && engine.GetState() != PlaybackEngine::State::Paused) engine.Pause();
    engine.Seek(seconds);
    EXPECT_EQ(state(), expected) << "to " << seconds << " s" << (paused ? ", paused" : "");
  }
}

}  // namespace
}  // namespace velvasto::test
