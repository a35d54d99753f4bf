// A first run, with no settings file: the player plays a song whose tracks are all on PORT B
// through the built-in synthesizer's input B, and it is heard.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "controller_fixture.h"
#include "midiout/backends/synth_render.h"
#include "midiout/device_registry.h"
#include "support/read_file.h"

namespace velvasto::test {
namespace {

// The synthesizer's two inputs under the names the machine's registry gives them, rendering
// into a WAV file instead of playing.
class RenderedSynthInputs final : public MidiDeviceCatalog {
 public:
  explicit RenderedSynthInputs(std::shared_ptr<SynthRender> render) : render_(std::move(render)) {}
  std::vector<std::optional<std::string>> ListDevices() override {
    return {DeviceRegistry::kSynthNameA, DeviceRegistry::kSynthNameB};
  }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override {
    return render_->MakeInput(entry.name == DeviceRegistry::kSynthNameB ? PortId::B : PortId::A);
  }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return render_->MakeInput(PortId::A); }

 private:
  std::shared_ptr<SynthRender> render_;
};

// The largest sample magnitude of a 16-bit WAV file as our renderer writes it (44-byte header).
int PeakOf(const std::string& wav) {
  int peak = 0;
  for (std::size_t at = 44; at + 2 <= wav.size(); at += 2) {
    std::int16_t sample = 0;
    std::memcpy(&sample, wav.data() + at, 2);
    peak = std::max(peak, std::abs(int{sample}));
  }
  return peak;
}

TEST(FirstRunTest, ASongOnPortBIsHeardThroughTheSynthesizersSecondInput) {
  TempDir dir;
  CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini");
  const std::filesystem::path wav = dir.Path() / "heard.wav";
  const std::shared_ptr<SynthRender> render =
      SynthRender::Create(SynthConfig{.soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2", .audioDriver = {}}, wav, 22050);
  RenderedSynthInputs devices(render);

  // One track, on the port that sequencers numbering from 1 call port 1: PORT B.
  SmfBuilder smf(1, 480);
  smf.AddTrack().Tempo(0, 500'000).EndOfTrack(0);
  smf.AddTrack().Port(0, 1).NoteOn(0, 0, 60, 110).NoteOff(480, 0, 60).EndOfTrack(0);

  CVelvastoApp app;
  app.activePort.Load(devices);
  app.defaultPort = app.activePort;
  app.portSets.Load(devices);
  app.openRequest = OpenRequest{.paths = {dir.Write("port 1.mid", smf.Build())}};
  EXPECT_EQ(app.activePort.PortCount(), 2);
  {
    LoggingView view;
    LoggingMonitor monitor;
    ScriptedPrompt prompt;
    VirtualPlayback playback;
    PlayerController controller({app, devices, playback.Timing(), view, monitor, prompt});
    controller.Open();
    EXPECT_EQ(playback.Run(controller, 5), VirtualPlayback::Outcome::Finished);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{});
  }
  render->Finish();
  CINIFile::SetSettingsPath({});
  // TimGM6mb's piano at the default channel volume peaks near 1000.
  EXPECT_GT(PeakOf(ReadWholeFile(wav)), 300);
}

}  // namespace
}  // namespace velvasto::test
