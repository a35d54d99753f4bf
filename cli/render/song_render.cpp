#include "cli/render/song_render.h"

#include <exception>

#include "core/errors.h"
#include "engine/fast_player.h"
#include "midiout/backends/synth_render.h"
#include "midiout/opened_ports.h"

namespace velvasto::cli {
namespace {

// Follows the song as the engine reports it: progress on the way, and at the end record the
// rest of the song and the tail, before the engine's Stop silences the synthesizer. Runs on the
// thread that advances the virtual clock (the caller's).
class RenderFollower final : public EngineNotificationSink {
 public:
  RenderFollower(SynthRender& render, std::uint64_t endUs, const RenderProgress& progress)
      : render_(render), endUs_(endUs), progress_(progress) {}

  void Post(std::uint32_t message, std::uint32_t, std::int32_t) noexcept override {
    if (message == UM_SONG_END && !failure_) {
      try {
        render_.RenderUntil(endUs_);
        render_.Finish();
      } catch (...) {
        failure_ = std::current_exception();
      }
    }
    if (progress_ && (message == UM_TIME_UPDATE || message == UM_SONG_END)) progress_(render_.RenderedTimeUs());
  }

  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  SynthRender& render_;
  std::uint64_t endUs_;
  const RenderProgress& progress_;
  std::exception_ptr failure_;
};

}  // namespace

RenderResult RenderSong(CMIDIStream& song, const RenderJob& job, const RenderProgress& progress) {
  const std::shared_ptr<SynthRender> render = SynthRender::Create(job.synth, job.wavPath, job.sampleRate);
  OpenedPorts ports(render->MakeInput(PortId::A), song.PortCount() == 2 ? render->MakeInput(PortId::B) : nullptr);
  const std::uint64_t endUs = song.Events().empty() ? 0 : song.Events().back().time;
  RenderFollower follower(*render, endUs, progress);
  FastPlayer player(job.timerPeriodMs);
  try {
    player.Play(song, *ports.Device(PortId::A), ports.Device(PortId::B), job.start, follower);
  } catch (const CErrMessage&) {
    // The engine tells only that a send failed; when the file could not take the audio, that
    // is what happened.
    if (const int error = render->FileError()) throw CSystemErrMessage(error);
    throw;
  }
  follower.RethrowFailure();
  ports.Close();
  return {render->RenderedFrames(), render->SampleRate()};
}

}  // namespace velvasto::cli
