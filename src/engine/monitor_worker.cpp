#include "engine/monitor_worker.h"

namespace velvasto {

void MonitorWorker::Restart(EngineNotificationSink& sink, std::uint64_t nowUs) {
  sink_ = &sink;
  lastPositionUs_ = nowUs;
  endPosted_ = false;
  errorPosted_ = false;
}

void MonitorWorker::Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
  sink_->Post(message, wParam, lParam);
}

void MonitorWorker::PostPosition(std::uint64_t nowUs, bool playing) {
  std::unique_lock seeking(positionMutex_, std::try_to_lock);
  if (!seeking.owns_lock() || endPosted_ || errorPosted_ || !playing) return;
  if (nowUs - lastPositionUs_ < 1'000'000 || core_.AnyBlockRunning()) return;
  const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
  const std::uint64_t songStartUs = core_.songStartUs.load(std::memory_order_relaxed);
  // Positions count from the start of the song proper; before it (between control blocks)
  // there is no position to show.
  if (songTimeUs < songStartUs) return;
  Post(UM_TIME_UPDATE, static_cast<std::uint32_t>((songTimeUs - songStartUs) / 1'000'000));
  lastPositionUs_ = nowUs;
}

void MonitorWorker::Pass(std::uint64_t nowUs, bool playing) {
  PostPosition(nowUs, playing);
  if (core_.appRing.TransferFrom(core_.engineRing) > 0) Post(UM_MONITOR_EVENTS);
  if (core_.ended.load(std::memory_order_acquire) && !endPosted_) {
    // The meters see every entry before the end notice.
    if (core_.appRing.TransferFrom(core_.engineRing) > 0) Post(UM_MONITOR_EVENTS);
    Post(UM_SONG_END);
    endPosted_ = true;
  }
  if (core_.failed.load(std::memory_order_acquire) && !errorPosted_) {
    Post(UM_ENGINE_ERROR, static_cast<std::uint32_t>(core_.errorClass), core_.errorCode);
    errorPosted_ = true;
  }
}

}  // namespace velvasto
