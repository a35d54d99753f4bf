#include "midiout/backends/live_synth.h"

#include "midiout/backends/diagnostics.h"

namespace velvasto {
namespace {

constexpr double kLiveSampleRate = 44100.0;

}  // namespace

LiveSynth::LiveSynth(SynthConfig config) : config_(std::move(config)) {}

// The driver calls into the synthesizer; it goes first.
LiveSynth::~LiveSynth() { driver_.reset(); }

void LiveSynth::Attach() {
  std::lock_guard lock(mutex_);
  if (attached_ > 0) {
    ++attached_;
    return;
  }
  SilenceAlsaDiagnostics();
  if (!core_ || !core_->HasSoundFont()) CheckSoundFontFile(config_.soundFont);
  if (!core_) core_ = std::make_unique<SynthCore>(kLiveSampleRate);
  driver_ = StartAudioDriver(core_->Settings(), core_->Synth(), config_.audioDriver);
  if (!core_->HasSoundFont()) {
    try {
      core_->LoadSoundFont(config_.soundFont);
    } catch (...) {
      driver_.reset();
      throw;
    }
  }
  attached_ = 1;
}

void LiveSynth::Detach() {
  std::lock_guard lock(mutex_);
  if (attached_ == 0 || --attached_ > 0) return;
  driver_.reset();
  core_->ResetInput(0);
  core_->ResetInput(16);
}

void LiveSynth::Short(int firstChannel, std::uint32_t message, std::uint64_t) {
  core_->ApplyShort(firstChannel, message);
}

void LiveSynth::SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t) {
  core_->ApplySysEx(firstChannel, message);
}

void LiveSynth::Release(int firstChannel) { core_->ReleaseInput(firstChannel); }

void LiveSynth::ResetControllers(int firstChannel) { core_->ResetControllers(firstChannel); }

}  // namespace velvasto
