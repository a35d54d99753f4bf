#include "midiout/backends/synth_core.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "core/cini_file.h"
#include "core/errors.h"
#include "midiout/backends/diagnostics.h"
#include "midiout/backends/synth_sysex.h"
#include "midiout/device_error.h"

namespace velvasto {
namespace {

constexpr int kDrumChannelOfInput = 9;

[[noreturn]] void ThrowOpenError(std::string detail, const FluidLogCollector& log) {
  if (!log.Text().empty()) detail += " (" + log.Text() + ")";
  throw CDeviceErrMessage(mmerr::kOpen, std::move(detail));
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

SynthConfig SynthConfigFromSettings() {
  SynthConfig config;
  config.soundFont = CINIFile().ReadString("SoundFont", kDefaultSoundFont);
  return config;
}

void CheckSoundFontFile(const std::filesystem::path& path) {
  const std::string shown = "SoundFont \"" + path.string() + "\"";
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) throw CDeviceErrMessage(mmerr::kOpen, shown + " cannot be read: " + ec.message());
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  unsigned char header[12];
  if (!file || std::fread(header, 1, sizeof header, file.get()) != sizeof header ||
      std::string_view(reinterpret_cast<const char*>(header), 4) != "RIFF" ||
      std::string_view(reinterpret_cast<const char*>(header) + 8, 4) != "sfbk") {
    throw CDeviceErrMessage(mmerr::kOpen, shown + " is not a SoundFont");
  }
  if (LittleEndian32(header + 4) + 8ull != size) {
    throw CDeviceErrMessage(mmerr::kOpen, shown + " is damaged: its size does not match its header");
  }
}

SynthCore::SynthCore(double sampleRate) {
  FluidLogCollector log;
  settings_ = new_fluid_settings();
  if (settings_ == nullptr) ThrowOpenError("FluidSynth settings cannot be created", log);
  fluid_settings_setint(settings_, "synth.midi-channels", kChannels);
  fluid_settings_setstr(settings_, "synth.midi-bank-select", "gs");
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  synth_ = new_fluid_synth(settings_);
  if (synth_ == nullptr) {
    delete_fluid_settings(settings_);
    ThrowOpenError("the FluidSynth synthesizer cannot be created", log);
  }
  // FluidSynth makes only channel 10 a drum channel; input B has its own channel 10.
  fluid_synth_set_channel_type(synth_, 16 + kDrumChannelOfInput, CHANNEL_TYPE_DRUM);
}

SynthCore::~SynthCore() {
  delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}

void SynthCore::LoadSoundFont(const std::filesystem::path& path) {
  FluidLogCollector log;
  const int id = fluid_synth_sfload(synth_, path.c_str(), 1);
  if (id == FLUID_FAILED) ThrowOpenError("SoundFont \"" + path.string() + "\" cannot be loaded", log);
  soundFontId_ = id;
}

void SynthCore::ApplyShort(int firstChannel, std::uint32_t message) {
  const int status = message & 0xFF;
  const int data1 = (message >> 8) & 0x7F;
  const int data2 = (message >> 16) & 0x7F;
  if (status < 0x80 || status >= 0xF0) return;
  const int channel = firstChannel + (status & 0x0F);
  switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth_, channel, data1);
      break;
    case 0x90:
      fluid_synth_noteon(synth_, channel, data1, data2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth_, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth_, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth_, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth_, channel, data1);
      break;
    default:
      fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
      break;
  }
}

void SynthCore::ApplySysEx(int firstChannel, std::span<const std::uint8_t> message) {
  const SynthSysEx action = InterpretSynthSysEx(message, firstChannel);
  switch (action.kind) {
    case SynthSysEx::Kind::ResetInput:
      ResetInput(firstChannel);
      break;
    case SynthSysEx::Kind::RhythmPart:
      fluid_synth_set_channel_type(synth_, action.channel, action.drum ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
      // The part takes the first program of its new kind: the standard kit, or the piano.
      fluid_synth_program_change(synth_, action.channel, 0);
      break;
    case SynthSysEx::Kind::Ignore:
      break;
  }
}

void SynthCore::ReleaseInput(int firstChannel) {
  for (int channel = firstChannel; channel < firstChannel + 16; ++channel) {
    fluid_synth_cc(synth_, channel, 64, 0);
    fluid_synth_all_notes_off(synth_, channel);
  }
}

void SynthCore::ResetControllers(int firstChannel) {
  for (int channel = firstChannel; channel < firstChannel + 16; ++channel) fluid_synth_cc(synth_, channel, 121, 0);
}

void SynthCore::ResetInput(int firstChannel) {
  for (int channel = firstChannel; channel < firstChannel + 16; ++channel) {
    fluid_synth_all_sounds_off(synth_, channel);
    const bool drum = channel - firstChannel == kDrumChannelOfInput;
    fluid_synth_set_channel_type(synth_, channel, drum ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    fluid_synth_cc(synth_, channel, 121, 0);
    fluid_synth_cc(synth_, channel, 0, 0);
    fluid_synth_cc(synth_, channel, 32, 0);
    fluid_synth_program_change(synth_, channel, 0);
    fluid_synth_cc(synth_, channel, 7, 100);
    fluid_synth_cc(synth_, channel, 10, 64);
    fluid_synth_cc(synth_, channel, 91, 40);
    fluid_synth_cc(synth_, channel, 93, 0);
    fluid_synth_cc(synth_, channel, 101, 127);
    fluid_synth_cc(synth_, channel, 100, 127);
    fluid_synth_pitch_wheel_sens(synth_, channel, 2);
  }
}

void SynthCore::ReleaseAll() {
  for (int channel = 0; channel < kChannels; ++channel) {
    fluid_synth_cc(synth_, channel, 64, 0);
    fluid_synth_cc(synth_, channel, 66, 0);
    fluid_synth_all_notes_off(synth_, channel);
  }
}

void SynthCore::Render(float* left, float* right, int frames) {
  fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1);
}

int SynthCore::ActiveVoices() const { return fluid_synth_get_active_voice_count(synth_); }

}  // namespace velvasto
