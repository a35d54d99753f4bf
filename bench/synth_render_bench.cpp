// Offline rendering through the built-in synthesizer against the `fluidsynth -F` command, on
// the same song and SoundFont in the same run. The song is built in code: one minute at
// 120 bpm, eight parts playing four-note chords in eighth notes, a drum part, controllers.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "midiout/backends/synth_render.h"
#include "song/midi_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr std::uint16_t kDivision = 480;
constexpr int kEighths = 240;  // one minute at 120 bpm

test::Bytes BuildSong() {
  test::SmfBuilder smf(1, kDivision);
  smf.AddTrack().Tempo(0, 500000).EndOfTrack();
  for (std::uint8_t channel = 0; channel < 8; ++channel) {
    test::SmfTrack& track = smf.AddTrack();
    track.Program(0, channel, static_cast<std::uint8_t>(channel * 8)).Control(0, channel, 7, 90);
    for (int step = 0; step < kEighths; ++step) {
      const auto root = static_cast<std::uint8_t>(48 + channel * 3 + (step % 12));
      for (std::uint8_t voice = 0; voice < 4; ++voice) track.NoteOn(0, channel, root + 4 * voice, 80);
      track.Control(0, channel, 11, static_cast<std::uint8_t>(64 + step % 64));
      track.NoteOff(kDivision / 2, channel, root);
      for (std::uint8_t voice = 1; voice < 4; ++voice) track.NoteOff(0, channel, root + 4 * voice);
    }
    track.EndOfTrack();
  }
  test::SmfTrack& drums = smf.AddTrack();
  for (int step = 0; step < kEighths; ++step) {
    drums.NoteOn(0, 9, step % 2 == 0 ? 36 : 42, 100).NoteOff(kDivision / 2, 9, step % 2 == 0 ? 36 : 42);
  }
  drums.EndOfTrack();
  return smf.Build();
}

class SongFixture {
 public:
  SongFixture() : song_(SongSettings{}) {
    const test::Bytes bytes = BuildSong();
    midiPath_ = dir_.Write("song.mid", bytes);
    song_.LoadFromMemory(bytes);
  }
  const test::TempDir& Dir() const { return dir_; }
  const std::filesystem::path& MidiPath() const { return midiPath_; }
  const CMIDIFile& Song() const { return song_; }

 private:
  test::TempDir dir_;
  std::filesystem::path midiPath_;
  CMIDIFile song_;
};

SongFixture& Fixture() {
  static SongFixture fixture;
  return fixture;
}

void BM_RenderWithBuiltInSynth(benchmark::State& state) {
  const SongFixture& fixture = Fixture();
  for (auto _ : state) {
    auto render = SynthRender::Create(SynthConfig{kSoundFont, ""}, fixture.Dir().Path() / "ours.wav", 44100);
    auto a = render->MakeInput(PortId::A);
    auto b = render->MakeInput(PortId::B);
    a->Open();
    b->Open();
    for (const StreamEvent& event : fixture.Song().Events()) {
      MidiOutDevice* device = event.port == PortId::A ? a.get() : event.port == PortId::B ? b.get() : nullptr;
      if (device == nullptr) continue;
      if (event.status == kStatusSysEx) {
        LongMessage message{fixture.Song().SysExData(event)};
        device->SendLong(message, event.time);
      } else if (event.status < kStatusSysEx) {
        device->SendShort(event.message, event.time);
      }
    }
    render->Finish();
    state.counters["audio_s"] = static_cast<double>(render->RenderedFrames()) / 44100.0;
  }
}
BENCHMARK(BM_RenderWithBuiltInSynth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_RenderWithFluidsynthCommand(benchmark::State& state) {
  const SongFixture& fixture = Fixture();
  const std::string command = "fluidsynth -n -i -q -r 44100 -T wav -O s16 -F '" +
                              (fixture.Dir().Path() / "theirs.wav").string() + "' '" + kSoundFont + "' '" +
                              fixture.MidiPath().string() + "' >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("the fluidsynth command failed");
      break;
    }
  }
  std::error_code ec;
  state.counters["audio_s"] =
      static_cast<double>(std::filesystem::file_size(fixture.Dir().Path() / "theirs.wav", ec) - 44) / 4 / 44100.0;
}
BENCHMARK(BM_RenderWithFluidsynthCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace velvasto

BENCHMARK_MAIN();
