#pragma once
// The built-in synthesizer playing through the system's audio output. It starts when its first
// input opens and stops its audio when the last one closes; the SoundFont stays loaded between
// songs.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "midiout/backends/audio_output.h"
#include "midiout/backends/synth_core.h"
#include "midiout/backends/synth_input_device.h"

namespace velvasto {

class LiveSynth final : public SynthTarget {
 public:
  explicit LiveSynth(SynthConfig config);
  ~LiveSynth() override;

  // Checks the SoundFont, starts the audio output (see StartAudioDriver), loads the SoundFont, in
  // that order, so that a machine without audio output fails at once. Throws
  // CDeviceErrMessage(1003).
  void Attach() override;
  void Detach() override;
  // The time is not used: live messages sound now.
  void Short(int firstChannel, std::uint32_t message, std::uint64_t timeUs) override;
  void SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t timeUs) override;
  void Release(int firstChannel) override;
  void ResetControllers(int firstChannel) override;

 private:
  SynthConfig config_;
  std::mutex mutex_;
  int attached_ = 0;
  std::unique_ptr<SynthCore> core_;
  AudioDriver driver_;
};

}  // namespace velvasto
