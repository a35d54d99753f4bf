#pragma once
// One FluidSynth synthesizer with 32 MIDI channels and GS bank selection, reached through two
// inputs of 16 channels each. Both the live synthesizer and the renderer drive one of these.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include <fluidsynth.h>

namespace velvasto {

// The SoundFont used when the settings name none.
inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

struct SynthConfig {
  std::filesystem::path soundFont = kDefaultSoundFont;
  // FluidSynth's audio driver for live output ("alsa", "pulseaudio", ...); empty to choose one
  // (see StartAudioDriver).
  std::string audioDriver;
};

// The synthesizer settings of the settings file: "SoundFont" (default kDefaultSoundFont).
SynthConfig SynthConfigFromSettings();

// Throws CDeviceErrMessage(1003) unless `path` names a readable SoundFont whose RIFF header
// covers exactly the file, so that a missing, foreign or truncated file is refused before any
// audio is started.
void CheckSoundFontFile(const std::filesystem::path& path);

class SynthCore {
 public:
  static constexpr int kChannels = 32;

  // Throws CDeviceErrMessage(1003) when FluidSynth cannot create the synthesizer.
  explicit SynthCore(double sampleRate);
  ~SynthCore();
  SynthCore(const SynthCore&) = delete;
  SynthCore& operator=(const SynthCore&) = delete;

  // Throws CDeviceErrMessage(1003) with FluidSynth's reason when the SoundFont cannot be loaded.
  void LoadSoundFont(const std::filesystem::path& path);
  bool HasSoundFont() const { return soundFontId_ >= 0; }

  // A short message (status | data1 << 8 | data2 << 16) on the input whose channels begin at
  // `firstChannel` (0 or 16). System messages do nothing.
  void ApplyShort(int firstChannel, std::uint32_t message);
  // A complete System Exclusive message (F0 .. F7) on that input.
  void ApplySysEx(int firstChannel, std::span<const std::uint8_t> message);
  // Every note of the input's channels released, their sustain pedals up.
  void ReleaseInput(int firstChannel);
  // The controllers, pitch bend and pressures of the input's channels to their defaults
  // (controller 121).
  void ResetControllers(int firstChannel);
  // The input's channels as after power-on: programs, controllers, drum channel 10.
  void ResetInput(int firstChannel);
  // Every note of every channel released, sustain and soft pedals up.
  void ReleaseAll();

  // Renders `frames` (a multiple of kBlockFrames) of stereo audio.
  void Render(float* left, float* right, int frames);
  int ActiveVoices() const;

  // FluidSynth applies messages at the start of its next block of this many frames.
  static constexpr int kBlockFrames = 64;

  fluid_settings_t* Settings() const { return settings_; }
  fluid_synth_t* Synth() const { return synth_; }

 private:
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  int soundFontId_ = -1;
};

}  // namespace velvasto
