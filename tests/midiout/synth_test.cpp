// The built-in synthesizer: what it makes of System Exclusive messages, and rendering to a file.

#include "midiout/backends/audio_output.h"
#include "midiout/backends/synth_render.h"
#include "midiout/backends/synth_sysex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "midiout/device_error.h"
#include "port_fixture.h"

namespace velvasto::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = SynthSysEx::Kind;
using Samples = std::vector<std::int16_t>;  // interleaved left, right
constexpr const char* kTestSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The first frame with a sample that is not zero, or the number of frames.
std::size_t FirstSound(const Samples& samples) {
  return static_cast<std::size_t>(std::ranges::find_if(samples, [](auto s) { return s != 0; }) - samples.begin()) / 2;
}
bool Silent(const Samples& samples) { return FirstSound(samples) == samples.size() / 2; }

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Reads the samples after the 44-byte header, checking the header fields the command-line
// render tests do not.
Samples ReadWav(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Samples samples;
  if (bytes.size() < 44) return samples;
  EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(Le32(bytes, 20), 0x00020001u);  // PCM, two channels
  EXPECT_EQ(Le32(bytes, 32), 0x00100004u);  // four bytes a frame, 16 bits
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
    samples.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
  }
  return samples;
}

// A Roland data set of one byte with a correct checksum.
Bytes GsDataSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3, std::uint8_t value) {
  const auto sum = static_cast<std::uint8_t>((0x80 - ((a1 + a2 + a3 + value) & 0x7F)) & 0x7F);
  return {0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, value, sum, 0xF7};
}

TEST(SynthSysExTest, ResetsActOnTheReceivingInputAndRhythmPartsOnAPartOfItOrOfGroupB) {
  const Bytes resets[] = {
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},  // GS reset
      {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},                                // GM1 System On
      {0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7},                                // GM2 System On
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},              // XG System On
      {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7F, 0x00, 0xF7},              // XG all-parameter reset
  };
  for (const Bytes& reset : resets) EXPECT_EQ(InterpretSynthSysEx(reset, 16).kind, Kind::ResetInput);

  // The message, the first channel of the receiving input, the channel it addresses, drums or not.
  const struct {
    Bytes message;
    int input, channel;
    bool drum;
  } parts[] = {
      {GsDataSet(0x40, 0x11, 0x15, 0x02), 16, 16, true},   // part 1 of input B
      {GsDataSet(0x40, 0x10, 0x15, 0x00), 0, 9, false},    // block 0 is channel 10
      {GsDataSet(0x40, 0x1A, 0x15, 0x01), 16, 26, true},   // block A is channel 11
      {GsDataSet(0x50, 0x1A, 0x15, 0x01), 0, 26, true},    // group B through input A
      {GsDataSet(0x40, 0x19, 0x15, 0x01), 0, 8, true},     // blocks 1 to 9 are channels 1 to 9
  };
  for (const auto& part : parts) {
    const SynthSysEx result = InterpretSynthSysEx(part.message, part.input);
    EXPECT_EQ(std::tuple(result.kind, result.channel, result.drum), std::tuple(Kind::RhythmPart, part.channel, part.drum));
  }
}

TEST(SynthSysExTest, EverythingElseIsIgnored) {
  const Bytes ignored[] = {
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x40, 0xF7},  // GS reset with a wrong checksum
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0x00},  // and without its F7
      GsDataSet(0x40, 0x11, 0x15, 0x03),                                    // no such rhythm-part value
      GsDataSet(0x40, 0x11, 0x19, 0x64),                                    // part level: not ours
      GsDataSet(0x40, 0x00, 0x7F, 0x01),                                    // not a mode set value
      {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7},                                 // GM System Off
      {0xF0, 0x41, 0x10, 0x16, 0x12, 0x7F, 0x00, 0x00, 0x00, 0x01, 0xF7},  // CM-64 reset
      {0xF0, 0x43, 0x10, 0x4C, 0x02, 0x01, 0x00, 0x01, 0xF7},              // XG effect parameter
      {0xF0, 0xF7},
      {},
  };
  for (const Bytes& message : ignored) EXPECT_EQ(InterpretSynthSysEx(message, 16).kind, Kind::Ignore);
}

class SynthRenderTest : public ::testing::Test {
 protected:
  // A render with both inputs open; `play` sends to them.
  template <typename Play>
  Samples Render(Play play, std::uint32_t sampleRate = 44100) {
    const auto path = dir_.Path() / "render.wav";
    auto render = SynthRender::Create(SynthConfig{kTestSoundFont, ""}, path, sampleRate);
    auto a = render->MakeInput(PortId::A);
    auto b = render->MakeInput(PortId::B);
    a->Open();
    b->Open();
    play(*a, *b);
    render->Finish();
    return ReadWav(path);
  }
  static void SendSysEx(MidiOutDevice& device, const Bytes& bytes) {
    LongMessage message{bytes};
    device.SendLong(message, 0);
  }

  TempDir dir_;
};

TEST_F(SynthRenderTest, NotesStartAtTheirTimeToWithinHalfASynthesizerBlock) {
  for (std::uint32_t rate : {44100u, 22050u}) {
    const auto onset = [&](std::uint64_t timeUs) {
      return FirstSound(Render([&](MidiOutDevice& a, MidiOutDevice&) { a.SendShort(0x643C90, timeUs); }, rate));
    };
    // The piano's own attack: how long after its start the first sample above zero comes.
    const auto attack = static_cast<double>(onset(0));
    for (std::uint64_t timeUs : {100000u, 123457u, 777777u}) {
      const double frame = static_cast<double>(timeUs) * rate / 1e6;
      EXPECT_NEAR(static_cast<double>(onset(timeUs)) - attack, frame, SynthCore::kBlockFrames / 2)
          << rate << " Hz, " << timeUs << " us";
    }
  }
}

// Each port is its own sixteen channels: its channel volumes, rhythm parts and resets.
TEST_F(SynthRenderTest, EachPortKeepsItsOwnChannelsRhythmPartsAndResets) {
  const Bytes gsReset = GsDataSet(0x40, 0x00, 0x7F, 0x00);
  const Bytes drumPart1 = GsDataSet(0x40, 0x11, 0x15, 0x01);  // "use for rhythm part" of part 1
  const auto mute = [](MidiOutDevice& device) { device.SendShort(0x0007B0, 0); };
  EXPECT_FALSE(Silent(Render([&](auto& a, auto& b) { mute(a); b.SendShort(0x643C90, 50000); })));
  EXPECT_TRUE(Silent(Render([&](auto&, auto& b) { mute(b); b.SendShort(0x643C90, 50000); })));
  EXPECT_TRUE(Silent(Render([&](auto& a, auto& b) { mute(a); SendSysEx(b, gsReset); a.SendShort(0x643C90, 50000); })));
  EXPECT_FALSE(Silent(Render([&](auto& a, auto&) { mute(a); SendSysEx(a, gsReset); a.SendShort(0x643C90, 50000); })));

  const Samples drumKick = Render([](auto& a, auto&) { a.SendShort(0x642499, 50000); });
  EXPECT_EQ(Render([](auto&, auto& b) { b.SendShort(0x642499, 50000); }), drumKick)
      << "channel 10 of port B is a drum channel from the start";
  EXPECT_EQ(Render([&](auto&, auto& b) { SendSysEx(b, drumPart1); b.SendShort(0x642490, 50000); }),
            drumKick);
  const Samples pianoOnB = Render([&](auto& a, auto& b) { SendSysEx(a, drumPart1); b.SendShort(0x642490, 50000); });
  EXPECT_NE(pianoOnB, drumKick) << "port A's rhythm part leaves port B's channel 1 a piano";
}

TEST_F(SynthRenderTest, AFileThatIsNotASoundFontIsNamedInTheErrorAndAnUncreatableOutputIsASystemError) {
  const auto text = dir_.Write("text.sf2", std::string_view("not a SoundFont at all"));
  try {
    SynthRender::Create(SynthConfig{text, ""}, dir_.Path() / "out.wav", 44100);
    ADD_FAILURE() << "created";
  } catch (const CDeviceErrMessage& e) {
    EXPECT_NE(e.Detail().find(text.string() + "\" is not a SoundFont"), std::string::npos) << e.Detail();
  }
  EXPECT_THROW(SynthRender::Create(SynthConfig{kTestSoundFont, ""}, dir_.Path() / "no" / "out.wav", 44100),
               CSystemErrMessage);
}

// A running desktop server is tried first; a server that does not run is never asked (its
// client library might start one), nor is "file", which would write fluidsynth.wav.
TEST(AudioOutputTest, RunningServersFirstThenTheDefaultThenTheOtherDevices) {
  const std::vector<std::string> offered = {"alsa", "file", "jack", "oss", "pulseaudio", "sdl2"};
  using Order = std::vector<std::string>;
  EXPECT_EQ(AudioDriverOrder(offered, "alsa", {.pulse = true, .jack = true}),
            (Order{"pulseaudio", "jack", "alsa", "oss"}));
  EXPECT_EQ(AudioDriverOrder(offered, "alsa", {.pulse = false, .jack = true}), (Order{"jack", "alsa", "oss"}));
  EXPECT_EQ(AudioDriverOrder(offered, "oss", {.pulse = false, .jack = false}), (Order{"oss", "alsa"}));
  EXPECT_EQ(AudioDriverOrder(offered, "jack", {.pulse = false, .jack = false}), (Order{"alsa", "oss"}));
  EXPECT_EQ(AudioDriverOrder(Order{"alsa"}, "alsa", {.pulse = true, .jack = false}), Order{"alsa"})
      << "a driver not built in";
}

}  // namespace
}  // namespace velvasto::test
