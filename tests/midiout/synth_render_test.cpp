#include "midiout/backends/synth_render.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "midiout/device_error.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr const char* kTestSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

struct Wav {
  std::uint32_t sampleRate = 0;
  std::vector<std::int16_t> samples;  // interleaved left, right

  std::size_t Frames() const { return samples.size() / 2; }
  // The first frame from `from` on with a sample that is not zero, or Frames().
  std::size_t FirstSound(std::size_t from = 0) const {
    for (std::size_t frame = from; frame < Frames(); ++frame) {
      if (samples[2 * frame] != 0 || samples[2 * frame + 1] != 0) return frame;
    }
    return Frames();
  }
  bool Silent(std::size_t from, std::size_t to) const { return FirstSound(from) >= to; }
};

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Wav ReadWav(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Wav wav;
  EXPECT_GE(bytes.size(), 44u);
  if (bytes.size() < 44) return wav;
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le32(bytes, 20), 0x00020001u);  // PCM, two channels
  wav.sampleRate = Le32(bytes, 24);
  EXPECT_EQ(Le32(bytes, 32), 0x00100004u);  // four bytes a frame, 16 bits
  EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
  EXPECT_EQ(Le32(bytes, 40), bytes.size() - 44);
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
    wav.samples.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
  }
  return wav;
}

std::uint32_t Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
  return status | data1 << 8 | data2 << 16;
}

// A GS data set of one byte with its checksum.
Bytes GsDataSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3, std::uint8_t value) {
  const auto sum = static_cast<std::uint8_t>((0x80 - ((a1 + a2 + a3 + value) & 0x7F)) & 0x7F);
  return {0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, value, sum, 0xF7};
}

class SynthRenderTest : public ::testing::Test {
 protected:
  // A render with both inputs open; `play` sends to them.
  template <typename Play>
  Wav Render(Play play, std::uint32_t sampleRate = 44100) {
    const auto path = dir_.Path() / ("render" + std::to_string(++count_) + ".wav");
    auto render = SynthRender::Create(SynthConfig{kTestSoundFont, ""}, path, sampleRate);
    auto a = render->MakeInput(PortId::A);
    auto b = render->MakeInput(PortId::B);
    a->Open();
    b->Open();
    play(*a, *b);
    render->Finish();
    return ReadWav(path);
  }
  static void SendSysEx(MidiOutDevice& device, const Bytes& bytes, std::uint64_t timeUs) {
    LongMessage message{bytes};
    device.SendLong(message, timeUs);
    EXPECT_TRUE(message.done);
  }

  test::TempDir dir_;
  int count_ = 0;
};

TEST_F(SynthRenderTest, ANoteSoundsFromItsTimeToItsReleaseAndTheFileEndsAfterTheTail) {
  const Wav wav = Render([](MidiOutDevice& a, MidiOutDevice&) {
    a.SendShort(Short(0x90, 60, 100), 100000);
    a.SendShort(Short(0x80, 60, 0), 400000);
  });
  ASSERT_EQ(wav.sampleRate, 44100u);
  const std::size_t first = wav.FirstSound();
  EXPECT_GT(first, 4410u - 32);
  EXPECT_LT(first, 4410u + 64);
  // Sounding while held: no stretch of 10 ms without signal.
  for (std::size_t frame = first; frame + 441 < 17640; frame += 441) {
    ASSERT_FALSE(wav.Silent(frame, frame + 441)) << frame;
  }
  // The release tail is kept, then the file ends well before the 30 s limit.
  EXPECT_GT(wav.Frames(), 17640u + 2205u);
  EXPECT_LT(wav.Frames(), 10u * 44100u);
}

TEST_F(SynthRenderTest, NotesStartAtTheirTimeToWithinHalfASynthesizerBlock) {
  for (std::uint32_t rate : {44100u, 22050u}) {
    const auto onset = [&](std::uint64_t timeUs) {
      return Render([&](MidiOutDevice& a, MidiOutDevice&) { a.SendShort(Short(0x90, 60, 100), timeUs); }, rate)
          .FirstSound();
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

TEST_F(SynthRenderTest, RenderedFramesFollowTheLastMessageTime) {
  const auto path = dir_.Path() / "progress.wav";
  auto render = SynthRender::Create(SynthConfig{kTestSoundFont, ""}, path, 48000);
  auto a = render->MakeInput(PortId::A);
  a->Open();
  EXPECT_EQ(render->RenderedFrames(), 0u);
  a->SendShort(Short(0xB0, 7, 100), 1000000);
  EXPECT_EQ(render->RenderedFrames(), 48000u);
  EXPECT_EQ(render->RenderedTimeUs(), 1000000u);
  a->SendShort(Short(0xB0, 7, 100), 500000);  // never backwards
  EXPECT_EQ(render->RenderedFrames(), 48000u);
  render->Finish();
  a->SendShort(Short(0x90, 60, 100), 2000000);  // after Finish: ignored
  EXPECT_EQ(ReadWav(path).Frames(), 48000u);
}

TEST_F(SynthRenderTest, PortBPlaysOnItsOwnSixteenChannels) {
  // Channel 1 of port A muted: a note on channel 1 of port B still sounds.
  const Wav portB = Render([](MidiOutDevice& a, MidiOutDevice& b) {
    a.SendShort(Short(0xB0, 7, 0), 0);
    b.SendShort(Short(0x90, 60, 100), 50000);
  });
  EXPECT_FALSE(portB.Silent(0, portB.Frames()));
  // Muting channel 1 of port B silences it; so does muting channel 1 of port A for port A.
  const Wav mutedB = Render([](MidiOutDevice&, MidiOutDevice& b) {
    b.SendShort(Short(0xB0, 7, 0), 0);
    b.SendShort(Short(0x90, 60, 100), 50000);
  });
  EXPECT_TRUE(mutedB.Silent(0, mutedB.Frames()));
  const Wav mutedA = Render([](MidiOutDevice& a, MidiOutDevice&) {
    a.SendShort(Short(0xB0, 7, 0), 0);
    a.SendShort(Short(0x90, 60, 100), 50000);
  });
  EXPECT_TRUE(mutedA.Silent(0, mutedA.Frames()));
}

TEST_F(SynthRenderTest, DrumPartsOfPortBFollowItsOwnRhythmPartMessages) {
  const auto kickOnA10 = [](MidiOutDevice& a, MidiOutDevice&) { a.SendShort(Short(0x99, 36, 100), 50000); };
  const Wav drumKick = Render(kickOnA10);
  // Channel 10 of port B is a drum channel from the start.
  EXPECT_EQ(Render([](MidiOutDevice&, MidiOutDevice& b) { b.SendShort(Short(0x99, 36, 100), 50000); }).samples,
            drumKick.samples);
  // "Use for rhythm part" on part 1 of port B makes its channel 1 a drum part...
  EXPECT_EQ(Render([](MidiOutDevice&, MidiOutDevice& b) {
              SendSysEx(b, GsDataSet(0x40, 0x11, 0x15, 0x01), 0);
              b.SendShort(Short(0x90, 36, 100), 50000);
            }).samples,
            drumKick.samples);
  // ...and the same message on port A leaves port B's channel 1 a piano.
  const Wav pianoOnB = Render([](MidiOutDevice& a, MidiOutDevice& b) {
    SendSysEx(a, GsDataSet(0x40, 0x11, 0x15, 0x01), 0);
    b.SendShort(Short(0x90, 36, 100), 50000);
  });
  EXPECT_FALSE(pianoOnB.Silent(0, pianoOnB.Frames()));
  EXPECT_NE(pianoOnB.samples, drumKick.samples);
  EXPECT_EQ(Render([](MidiOutDevice&, MidiOutDevice& b) { b.SendShort(Short(0x90, 36, 100), 50000); }).samples,
            pianoOnB.samples);
}

TEST_F(SynthRenderTest, AResetOnOnePortLeavesTheOtherPortAlone) {
  const Bytes gsReset = GsDataSet(0x40, 0x00, 0x7F, 0x00);
  const Wav resetOnB = Render([&](MidiOutDevice& a, MidiOutDevice& b) {
    a.SendShort(Short(0xB0, 7, 0), 0);
    SendSysEx(b, gsReset, 10000);
    a.SendShort(Short(0x90, 60, 100), 50000);
  });
  EXPECT_TRUE(resetOnB.Silent(0, resetOnB.Frames()));
  const Wav resetOnA = Render([&](MidiOutDevice& a, MidiOutDevice&) {
    a.SendShort(Short(0xB0, 7, 0), 0);
    SendSysEx(a, gsReset, 10000);
    a.SendShort(Short(0x90, 60, 100), 50000);
  });
  EXPECT_FALSE(resetOnA.Silent(0, resetOnA.Frames()));
}

TEST_F(SynthRenderTest, AMissingOrDamagedSoundFontIsError1003WithItsReason) {
  Bytes soundFont;
  {
    std::ifstream in(kTestSoundFont, std::ios::binary);
    soundFont.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const Bytes truncated(soundFont.begin(), soundFont.begin() + 100000);
  const struct {
    std::filesystem::path soundFont;
    const char* reason;
  } cases[] = {
      {dir_.Path() / "missing.sf2", "cannot be read"},
      {dir_.Write("text.sf2", std::string_view("not a SoundFont at all")), "is not a SoundFont"},
      {dir_.Write("truncated.sf2", truncated), "is damaged"},
  };
  for (const auto& c : cases) {
    try {
      SynthRender::Create(SynthConfig{c.soundFont, ""}, dir_.Path() / "out.wav", 44100);
      ADD_FAILURE() << c.soundFont;
    } catch (const CDeviceErrMessage& e) {
      EXPECT_EQ(e.Code(), 1003);
      EXPECT_EQ(e.Message(), "MIDIOUTデバイスのオープンができません。");
      EXPECT_NE(e.Detail().find(c.soundFont.string()), std::string::npos) << e.Detail();
      EXPECT_NE(e.Detail().find(c.reason), std::string::npos) << e.Detail();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "out.wav"));
}

TEST_F(SynthRenderTest, AFileThatCannotBeCreatedIsASystemError) {
  EXPECT_THROW(SynthRender::Create(SynthConfig{kTestSoundFont, ""}, dir_.Path() / "no" / "out.wav", 44100),
               CSystemErrMessage);
}

}  // namespace
}  // namespace velvasto
