#include "engine/playback_engine.h"

#include <algorithm>
#include <system_error>

#include "engine/chase.h"
#include "engine/dispatch.h"
#include "engine/port_output.h"
#include "midiout/long_message_sender.h"

namespace velvasto {

namespace {

constexpr std::uint32_t kResetPauseMs = 50;
constexpr std::uint32_t kSeekPauseMs = 100;
constexpr std::uint32_t kMaxVolume = 127;

}  // namespace

PlaybackEngine::PlaybackEngine(Clock& clock, PeriodicTimer& dispatchTimer, PeriodicTimer& workerTimer,
                               std::uint32_t timerPeriodMs)
    : clock_(clock), dispatchTimer_(dispatchTimer), workerTimer_(workerTimer), worker_(core_, positionMutex_) {
  core_.timerPeriodMs = std::max<std::uint32_t>(timerPeriodMs, 1);
}

PlaybackEngine::~PlaybackEngine() {
  dispatchTimer_.Stop();
  workerTimer_.Stop();
}

template <typename Action>
void PlaybackEngine::ForEachPort(Action&& action) {
  for (std::size_t index = 0; index < core_.ports.size(); ++index) {
    if (core_.ports[index] != nullptr) action(PlaybackCore::PortOf(index), *core_.ports[index]);
  }
}

std::uint32_t PlaybackEngine::PositionSeconds() const {
  const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
  const std::uint64_t songStartUs = core_.songStartUs.load(std::memory_order_relaxed);
  return songTimeUs > songStartUs ? static_cast<std::uint32_t>((songTimeUs - songStartUs) / 1'000'000) : 0;
}

void PlaybackEngine::StartDispatchTimer() {
  try {
    dispatchTimer_.Start(core_.timerPeriodMs, [this] {
      std::lock_guard lock(core_.volumeMutex);
      DispatchTick(core_, clock_.NowUs());
    });
  } catch (const std::system_error&) {
    throw CMMSystemErrMessage(mmerr::kTimerStart);
  }
}

void PlaybackEngine::Start(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB,
                           EngineNotificationSink& sink, const StartOptions& options) {
  std::lock_guard transport(transportMutex_);
  StopLocked();
  if (!song.HasTable()) throw CErrMessage(errc::kNotLoaded);
  {
    std::lock_guard lock(core_.volumeMutex);
    core_.song = &song;
    core_.ports = {&portA, song.PortCount() == 2 ? portB : nullptr};
    core_.songStartUs.store(song.SongStartTime(), std::memory_order_relaxed);
    core_.masterVolume.store(std::min(options.masterVolume, kMaxVolume), std::memory_order_relaxed);
    core_.volumes.Clear();
  }
  sink_ = &sink;

  const auto resets = EnabledResetMessages(options.resets);
  ForEachPort([&](PortId port, MidiOutDevice& device) {
    for (const auto message : resets) {
      SendLongMessageSync(device, port, message, 0, &song);
      clock_.SleepMs(kResetPauseMs);
    }
  });

  {
    std::lock_guard lock(core_.volumeMutex);
    core_.ended.store(false, std::memory_order_relaxed);
    core_.failed.store(false, std::memory_order_relaxed);
    for (auto& running : core_.blockRunning) running.store(false, std::memory_order_relaxed);
    core_.blockProgress = 0;
    core_.sysexPending = false;
    core_.resume = false;
    core_.index = 0;
    core_.songTimeUs.store(0, std::memory_order_relaxed);
    core_.tempo.store(120, std::memory_order_relaxed);
    core_.engineRing.Clear();
    core_.appRing.Clear();
    // The song's time 0 is now; the timer's first period starts with it.
    core_.lastTickUs = clock_.NowUs();
  }
  worker_.Restart(sink, clock_.NowUs());
  state_.store(State::Playing, std::memory_order_release);
  StartDispatchTimer();
  try {
    workerTimer_.Start(kWorkerPeriodMs, [this] {
      worker_.Pass(clock_.NowUs(), state_.load(std::memory_order_acquire) == State::Playing);
    });
  } catch (const std::system_error&) {
    throw CErrMessage(errc::kThreadCreateFailed);
  }
}

void PlaybackEngine::Stop() {
  std::lock_guard transport(transportMutex_);
  StopLocked();
}

void PlaybackEngine::StopLocked() {
  if (state_.load(std::memory_order_relaxed) == State::Stopped) return;
  dispatchTimer_.Stop();
  workerTimer_.Stop();
  state_.store(State::Stopped, std::memory_order_release);
  std::lock_guard lock(core_.volumeMutex);
  core_.WithdrawSongClock();
  const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
  ForEachPort([&](PortId, MidiOutDevice& device) { SendSoundOff(device, songTimeUs); });
  ForEachPort([](PortId, MidiOutDevice& device) { ResetOrThrow(device); });
  // The next start of the song begins with the controllers where a song begins.
  ForEachPort([](PortId, MidiOutDevice& device) { ResetControllersOrThrow(device); });
}

void PlaybackEngine::Pause() {
  std::lock_guard transport(transportMutex_);
  if (state_.load(std::memory_order_relaxed) != State::Playing) return;
  dispatchTimer_.Stop();
  state_.store(State::Paused, std::memory_order_release);
  std::lock_guard lock(core_.volumeMutex);
  core_.WithdrawSongClock();
  core_.resume = true;
  const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
  ForEachPort([&](PortId, MidiOutDevice& device) { SendSoundOff(device, songTimeUs); });
}

void PlaybackEngine::Resume() {
  std::lock_guard transport(transportMutex_);
  if (state_.load(std::memory_order_relaxed) != State::Paused) return;
  state_.store(State::Playing, std::memory_order_release);
  StartDispatchTimer();
}

bool PlaybackEngine::CloseRunningBlocks() {
  bool closed = false;
  for (std::size_t block = 0; block < core_.blockRunning.size(); ++block) {
    if (!core_.blockRunning[block].exchange(false, std::memory_order_relaxed)) continue;
    const auto endKind = static_cast<MonitorKind>(static_cast<std::uint32_t>(MonitorKind::Cm6End) + 2 * block);
    core_.appRing.Push(BlockEntry(endKind, 0));
    closed = true;
  }
  return closed;
}

void PlaybackEngine::Seek(std::uint32_t seconds) {
  std::lock_guard transport(transportMutex_);
  const State state = state_.load(std::memory_order_relaxed);
  if (state == State::Stopped) return;
  const std::uint64_t songStartUs = core_.songStartUs.load(std::memory_order_relaxed);
  const std::uint64_t targetUs = std::uint64_t{seconds} * 1'000'000 + songStartUs;
  if (targetUs == core_.songTimeUs.load(std::memory_order_relaxed)) return;

  std::lock_guard seeking(positionMutex_);
  if (state == State::Playing) dispatchTimer_.Stop();
  {
    std::lock_guard lock(core_.volumeMutex);
    const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
    if (state == State::Playing) {
      core_.WithdrawSongClock();
      core_.resume = true;
      ForEachPort([&](PortId, MidiOutDevice& device) { SendSoundOff(device, songTimeUs); });
    }
    ForEachPort([](PortId, MidiOutDevice& device) { ResetOrThrow(device); });
    // The reset gave up any System Exclusive message in flight.
    core_.sysexPending = false;
    // Forwards the channels keep what the song has set so far. Backwards the chase replays the
    // song from its start, so its controllers first go back to where they are there: one the
    // song sets only after the target must not keep that later value.
    const bool backwards = targetUs < songTimeUs;
    if (backwards) ForEachPort([](PortId, MidiOutDevice& device) { ResetControllersOrThrow(device); });
    clock_.SleepMs(kSeekPauseMs);

    // The target lies in the song proper: no control block runs any more there.
    const bool blocksClosed = CloseRunningBlocks();
    const std::uint32_t songStartIndex = core_.song->SongStartIndex();
    if (songStartUs != 0 && seconds == 0) {
      core_.index = songStartIndex;
      if (blocksClosed) sink_->Post(UM_MONITOR_EVENTS, 0, 0);
    } else {
      // Forwards the chase goes on from where the song is; backwards it replays the song proper
      // from its start, so that control blocks are never sent again.
      const std::uint32_t chaseStart = backwards ? songStartIndex : core_.index;
      Chase(core_, clock_, chaseStart, targetUs, *sink_);
    }
    core_.songTimeUs.store(targetUs, std::memory_order_relaxed);
  }
  if (state == State::Playing) StartDispatchTimer();
}

void PlaybackEngine::SetMasterVolume(std::uint32_t value) {
  std::lock_guard transport(transportMutex_);
  value = std::min(value, kMaxVolume);
  if (state_.load(std::memory_order_relaxed) == State::Stopped) {
    core_.masterVolume.store(value, std::memory_order_relaxed);
    return;
  }
  std::lock_guard lock(core_.volumeMutex);
  const std::uint64_t songTimeUs = core_.songTimeUs.load(std::memory_order_relaxed);
  for (std::size_t port = 0; port < core_.ports.size(); ++port) {
    MidiOutDevice* device = core_.ports[port];
    if (device == nullptr) continue;
    for (std::uint32_t channel = 0; channel < 16; ++channel) {
      const std::int32_t last = core_.volumes.last[port][channel];
      if (last < 0) continue;
      const std::uint32_t message = VolumeMessage(channel, ScaleVolume(static_cast<std::uint32_t>(last), value));
      SendShortOrThrow(*device, message, songTimeUs);
      if (const auto entry = ChannelEntry(message, static_cast<std::uint32_t>(port))) core_.appRing.Push(*entry);
      core_.volumes.sent[port][channel] = true;
    }
  }
  core_.masterVolume.store(value, std::memory_order_relaxed);
  sink_->Post(UM_MONITOR_EVENTS, 0, 0);
}

}  // namespace velvasto
