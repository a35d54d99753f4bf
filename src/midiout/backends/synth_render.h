#pragma once
// The built-in synthesizer rendering into a WAV file instead of playing. Each message is placed
// at the song time it is sent with: the audio up to that time is rendered first. FluidSynth
// applies messages at the start of its 64-frame blocks, so a message sounds at the block start
// nearest to its time (within ±32 frames, 0.73 ms at 44.1 kHz).

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "midiout/backends/synth_core.h"
#include "midiout/backends/synth_input_device.h"
#include "midiout/backends/wav_writer.h"
#include "song/stream_event.h"

namespace velvasto {

class SynthRender final : public SynthTarget, public std::enable_shared_from_this<SynthRender> {
 public:
  // The longest release tail rendered after a song.
  static constexpr std::uint64_t kMaxTailSeconds = 30;

  // The longest song (up to its end record) whose audio, the longest tail included, fits in a
  // WAV file at `sampleRate`.
  static std::uint64_t LongestSongUs(std::uint32_t sampleRate);

  // Loads the SoundFont and creates `wavPath`. Throws CDeviceErrMessage(1003) for the
  // SoundFont, CSystemErrMessage for the file.
  static std::shared_ptr<SynthRender> Create(const SynthConfig& config, const std::filesystem::path& wavPath,
                                             std::uint32_t sampleRate);

  // The input of PORT A (channels 1–16) or PORT B (17–32), closed.
  std::unique_ptr<MidiOutDevice> MakeInput(PortId port);

  // Renders the audio up to `timeUs` with no message there: the stretch between a song's last
  // message and its end record, which belongs in the file. Ignored after Finish.
  void RenderUntil(std::uint64_t timeUs);

  // Releases every note, renders until the sound has died away (at most 30 s) and completes the
  // file. Messages sent afterwards are ignored. Throws CSystemErrMessage for the file.
  void Finish();

  // The system's error number of a failed write of the file (a full disk, the file-size limit),
  // 0 while none failed. The send that met it throws CSystemErrMessage, which the engine only
  // sees as a failed send; later messages are ignored.
  int FileError() const;

  // How far the file has been rendered, for progress reports.
  std::uint64_t RenderedFrames() const { return renderedFrames_.load(std::memory_order_relaxed); }
  std::uint64_t RenderedTimeUs() const;
  std::uint32_t SampleRate() const { return sampleRate_; }

  void Attach() override {}
  void Detach() override {}
  void Short(int firstChannel, std::uint32_t message, std::uint64_t timeUs) override;
  void SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t timeUs) override;
  void Release(int firstChannel) override;
  void ResetControllers(int firstChannel) override;

 private:
  SynthRender(const SynthConfig& config, const std::filesystem::path& wavPath, std::uint32_t sampleRate);

  // Renders up to the block boundary nearest to `timeUs`; never backwards.
  void RenderUpTo(std::uint64_t timeUs);
  // Renders `frames` (a multiple of the block size) into the file. Returns false when all of
  // them were silent.
  bool RenderFrames(int frames, bool keepSilence);
  // Whether messages still make sound into the file.
  bool Taking() const { return !finished_ && fileError_ == 0; }

  std::uint32_t sampleRate_;
  std::unique_ptr<SynthCore> core_;
  WavWriter wav_;
  mutable std::mutex mutex_;
  bool finished_ = false;
  int fileError_ = 0;
  std::atomic<std::uint64_t> renderedFrames_{0};
  std::vector<float> left_;
  std::vector<float> right_;
  std::vector<std::int16_t> interleaved_;
};

}  // namespace velvasto
