#include "midiout/backends/synth_render.h"

#include <algorithm>
#include <cmath>

#include "core/errors.h"

namespace velvasto {
namespace {

constexpr int kChunkFrames = 64 * SynthCore::kBlockFrames;

std::unique_ptr<SynthCore> LoadedCore(const SynthConfig& config, std::uint32_t sampleRate) {
  auto core = std::make_unique<SynthCore>(static_cast<double>(sampleRate));
  core->LoadSoundFont(config.soundFont);
  return core;
}

std::int16_t ToSample(float value) {
  const float scaled = std::nearbyint(value * 32767.0f);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

std::uint64_t SynthRender::LongestSongUs(std::uint32_t sampleRate) {
  const std::uint64_t frames = WavWriter::kMaxFrames - kMaxTailSeconds * sampleRate;
  return frames / sampleRate * 1'000'000 + frames % sampleRate * 1'000'000 / sampleRate;
}

std::shared_ptr<SynthRender> SynthRender::Create(const SynthConfig& config, const std::filesystem::path& wavPath,
                                                 std::uint32_t sampleRate) {
  CheckSoundFontFile(config.soundFont);
  return std::shared_ptr<SynthRender>(new SynthRender(config, wavPath, sampleRate));
}

SynthRender::SynthRender(const SynthConfig& config, const std::filesystem::path& wavPath, std::uint32_t sampleRate)
    : sampleRate_(sampleRate),
      core_(LoadedCore(config, sampleRate)),
      wav_(wavPath, sampleRate),
      left_(kChunkFrames),
      right_(kChunkFrames),
      interleaved_(2 * kChunkFrames) {}

std::unique_ptr<MidiOutDevice> SynthRender::MakeInput(PortId port) {
  const bool portB = port == PortId::B;
  return std::make_unique<SynthInputDevice>(portB ? "Velvasto Synth B (render)" : "Velvasto Synth A (render)",
                                            portB ? 16 : 0, shared_from_this());
}

std::uint64_t SynthRender::RenderedTimeUs() const { return RenderedFrames() * 1000000 / sampleRate_; }

int SynthRender::FileError() const {
  std::lock_guard lock(mutex_);
  return fileError_;
}

void SynthRender::Short(int firstChannel, std::uint32_t message, std::uint64_t timeUs) {
  std::lock_guard lock(mutex_);
  if (!Taking()) return;
  RenderUpTo(timeUs);
  core_->ApplyShort(firstChannel, message);
}

void SynthRender::SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t timeUs) {
  std::lock_guard lock(mutex_);
  if (!Taking()) return;
  RenderUpTo(timeUs);
  core_->ApplySysEx(firstChannel, message);
}

void SynthRender::RenderUntil(std::uint64_t timeUs) {
  std::lock_guard lock(mutex_);
  if (Taking()) RenderUpTo(timeUs);
}

void SynthRender::Release(int firstChannel) {
  std::lock_guard lock(mutex_);
  if (Taking()) core_->ReleaseInput(firstChannel);
}

void SynthRender::ResetControllers(int firstChannel) {
  std::lock_guard lock(mutex_);
  if (!finished_) core_->ResetControllers(firstChannel);
}

void SynthRender::RenderUpTo(std::uint64_t timeUs) {
  const std::uint64_t frame = (timeUs * sampleRate_ + 500000) / 1000000;
  constexpr std::uint64_t block = SynthCore::kBlockFrames;
  const std::uint64_t target = (frame + block / 2) / block * block;
  while (RenderedFrames() < target) {
    RenderFrames(static_cast<int>(std::min<std::uint64_t>(target - RenderedFrames(), kChunkFrames)), true);
  }
}

bool SynthRender::RenderFrames(int frames, bool keepSilence) {
  core_->Render(left_.data(), right_.data(), frames);
  bool sounding = false;
  for (int i = 0; i < frames; ++i) {
    interleaved_[2 * i] = ToSample(left_[i]);
    interleaved_[2 * i + 1] = ToSample(right_[i]);
    sounding = sounding || interleaved_[2 * i] != 0 || interleaved_[2 * i + 1] != 0;
  }
  if (!sounding && !keepSilence) return false;
  try {
    wav_.Write({interleaved_.data(), 2 * static_cast<std::size_t>(frames)});
  } catch (const CSystemErrMessage& error) {
    fileError_ = error.Code();
    throw;
  }
  renderedFrames_.fetch_add(static_cast<std::uint64_t>(frames), std::memory_order_relaxed);
  return sounding;
}

void SynthRender::Finish() {
  std::lock_guard lock(mutex_);
  if (fileError_ != 0) throw CSystemErrMessage(fileError_);
  if (finished_) return;
  finished_ = true;
  core_->ReleaseAll();
  const std::uint64_t tailEnd = RenderedFrames() + kMaxTailSeconds * sampleRate_;
  while (RenderedFrames() < tailEnd) {
    const bool voicesLeft = core_->ActiveVoices() > 0;
    if (!RenderFrames(kChunkFrames, voicesLeft) && !voicesLeft) break;
  }
  wav_.Finish();
}

}  // namespace velvasto
