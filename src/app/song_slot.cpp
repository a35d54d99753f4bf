#include "app/song_slot.h"

#include <utility>

#include "core/errors.h"
#include "engine/reporting_transport.h"
#include "midiout/opened_ports.h"
#include "song/song_loader.h"

namespace velvasto {

// Stamps what one start of the song posts with the start's number.
class CSongSlot::StampedSink final : public EngineNotificationSink {
 public:
  StampedSink(NotificationQueue& queue, std::uint64_t start) : queue_(queue), start_(start) {}

  void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept override {
    queue_.Post({start_, message, wParam, lParam});
  }

 private:
  NotificationQueue& queue_;
  std::uint64_t start_;
};

// A loaded song and what plays it. Members go in reverse order: the engine stops before the
// devices close and the song goes.
struct CSongSlot::LoadedSong {
  std::filesystem::path path;
  std::unique_ptr<CMIDIStream> song;
  std::unique_ptr<OpenedPorts> ports;
  std::unique_ptr<StampedSink> sink;
  std::unique_ptr<PlaybackEngine> engine;
  std::unique_ptr<ReportingTransport> transport;
};

CSongSlot::CSongSlot(PlayState& playState, PlaybackTiming timing, MidiDeviceCatalog& devices,
                     ErrorReporter& reporter, NotificationQueue& notifications, SongLoader loader)
    : playState_(playState),
      timing_(timing),
      devices_(devices),
      reporter_(reporter),
      notifications_(notifications),
      loader_(loader ? std::move(loader) : SongLoader(LoadSong)) {}

CSongSlot::~CSongSlot() { ReleaseQuietly(); }

PlaybackEngine* CSongSlot::Engine() const { return loaded_ ? loaded_->engine.get() : nullptr; }

const CMIDIStream* CSongSlot::Song() const { return loaded_ ? loaded_->song.get() : nullptr; }

std::filesystem::path CSongSlot::SongPath() const { return loaded_ ? loaded_->path : std::filesystem::path(); }

void CSongSlot::TakeMonitorEntries(std::vector<MonitorEntry>& out) {
  if (loaded_) {
    loaded_->engine->TakeMonitorEntries(out);
  } else {
    out.clear();
  }
}

void CSongSlot::Play(const std::filesystem::path& path, const CMIDIPort& ports, const SongStart& start) {
  fileFailed_ = false;
  if (loaded_) RunReported(reporter_, [] { throw CErrMessage(errc::kAlreadyLoaded); });
  info_.reset();
  try {
    auto next = std::make_unique<LoadedSong>();
    RunReported(reporter_, [&] {
      next->path = path;
      fileFailed_ = true;
      next->song = loader_(path, start.settings);
      fileFailed_ = false;
      info_ = next->song->Info();
      next->ports = std::make_unique<OpenedPorts>(ports, devices_);
      next->engine = std::make_unique<PlaybackEngine>(timing_.clock, timing_.dispatchTimer, timing_.workerTimer,
                                                      start.timerPeriodMs);
      next->transport = std::make_unique<ReportingTransport>(*next->engine, reporter_);
    });
    loaded_ = std::move(next);
    StartEngine(start.options);
  } catch (...) {
    ReleaseQuietly();
    info_.reset();
    throw;
  }
  playState_ = PlayState::Playing;
}

void CSongSlot::StartEngine(const StartOptions& options) {
  // The sink of the earlier start stays alive until the engine, which stops that start first,
  // has taken the new one.
  std::unique_ptr<StampedSink> previous = std::move(loaded_->sink);
  loaded_->sink = std::make_unique<StampedSink>(notifications_, ++start_);
  loaded_->transport->Start(*loaded_->song, *loaded_->ports->Device(PortId::A), loaded_->ports->Device(PortId::B),
                            *loaded_->sink, options);
}

void CSongSlot::Stop() {
  if (!loaded_) return;
  try {
    loaded_->transport->Stop();
    RunReported(reporter_, [&] { loaded_->ports->Close(); });
  } catch (...) {
    ReleaseQuietly();
    throw;
  }
  loaded_.reset();
  playState_ = PlayState::Stopped;
}

void CSongSlot::ReleaseQuietly() {
  if (loaded_) {
    try {
      loaded_->engine->Stop();
    } catch (...) {
      // The devices are closed and the song let go all the same.
    }
  }
  loaded_.reset();
  playState_ = PlayState::Stopped;
}

void CSongSlot::Restart(const StartOptions& options) {
  if (!loaded_) return;
  StartEngine(options);
  playState_ = PlayState::Playing;
}

void CSongSlot::Pause() {
  if (!loaded_ || playState_ != PlayState::Playing) return;
  loaded_->transport->Pause();
  playState_ = PlayState::Paused;
}

void CSongSlot::Resume() {
  if (!loaded_ || playState_ != PlayState::Paused) return;
  loaded_->transport->Resume();
  playState_ = PlayState::Playing;
}

void CSongSlot::Seek(std::uint32_t seconds) {
  if (!loaded_) return;
  loaded_->transport->Seek(seconds);
}

void CSongSlot::SetVolume(std::uint32_t volume) {
  if (!loaded_) return;
  loaded_->transport->SetMasterVolume(volume);
}

}  // namespace velvasto
