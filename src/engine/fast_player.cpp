#include "engine/fast_player.h"

#include "core/errors.h"

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

// Song time keeps up with the clock except while a System Exclusive message is in flight, and
// catches up once it is done; a song this far behind has a message that never finishes.
constexpr std::uint64_t kStallLimitUs = 60'000'000;

}  // namespace

FastPlayer::FastPlayer(std::uint32_t timerPeriodMs) : engine_(clock_, dispatchTimer_, workerTimer_, timerPeriodMs) {}

void FastPlayer::Play(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB,
                      const StartOptions& options, EngineNotificationSink& sink) {
  EndWatch watch(sink);
  engine_.Start(song, portA, portB, watch, options);
  const std::uint64_t startUs = clock_.NowUs();
  const std::uint64_t endUs = song.Events().empty() ? 0 : song.Events().back().time;
  bool stalled = false;
  while (!watch.ended && !watch.failed) {
    clock_.AdvanceMs(engine_.TimerPeriodMs());
    if (clock_.NowUs() - startUs > endUs + kStallLimitUs) {
      stalled = true;
      break;
    }
  }
  engine_.Stop();
  if (stalled) throw CMMSystemErrMessage(mmerr::kLongMsgTimeout);
  if (watch.failed) {
    if (watch.errorClass == ErrorClass::Multimedia) throw CMMSystemErrMessage(watch.errorCode);
    throw CErrMessage(watch.errorCode);
  }
}

}  // namespace velvasto
