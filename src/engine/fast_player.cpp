#include "engine/fast_player.h"

#include "core/errors.h"
#include "engine/stall_watch.h"

namespace velvasto {

namespace {

// Hands every notification on and remembers how the song ended.
class EndWatch final : public EngineNotificationSink {
 public:
  explicit EndWatch(EngineNotificationSink& next) : next_(next) {}

  void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept override {
    if (message == UM_SONG_END) ended = true;
    if (message == UM_ENGINE_ERROR) {
      failed = true;
      errorClass = static_cast<ErrorClass>(wParam);
      errorCode = lParam;
    }
    next_.Post(message, wParam, lParam);
  }

  bool ended = false;
  bool failed = false;
  ErrorClass errorClass = ErrorClass::Application;
  std::int32_t errorCode = 0;

 private:
  EngineNotificationSink& next_;
};

}  // namespace

FastPlayer::FastPlayer(std::uint32_t timerPeriodMs) : engine_(clock_, dispatchTimer_, workerTimer_, timerPeriodMs) {}

void FastPlayer::Play(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB,
                      const StartOptions& options, EngineNotificationSink& sink) {
  EndWatch watch(sink);
  engine_.Start(song, portA, portB, watch, options);
  StallWatch stallWatch;
  bool stalled = false;
  while (!watch.ended && !watch.failed && !stalled) {
    clock_.AdvanceMs(engine_.TimerPeriodMs());
    stalled = stallWatch.Stalled(engine_.GetState() == PlaybackEngine::State::Playing, engine_.SongTimeUs(),
                                 clock_.NowUs());
  }
  engine_.Stop();
  if (stalled) throw CMMSystemErrMessage(mmerr::kLongMsgTimeout);
  if (watch.failed) {
    if (watch.errorClass == ErrorClass::Multimedia) throw CMMSystemErrMessage(watch.errorCode);
    throw CErrMessage(watch.errorCode);
  }
}

}  // namespace velvasto
