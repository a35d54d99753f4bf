#pragma once
// The playback engine: plays a loaded song through one or two output devices on a periodic
// timer, and carries out the transport operations on it.
//
// Threads: the dispatch timer's tick sends the records (see dispatch.h); the worker timer's tick
// hands monitor entries over and notifies the owner (see monitor_worker.h). The transport
// operations may be called from any thread; they are carried out one at a time. The status
// queries may be called from any thread at any time.
//
// The same engine runs live (MonotonicClock, SteadyPeriodicTimer) and on virtual time
// (VirtualClock, VirtualTimer) for tests and fast playback.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/clock.h"
#include "engine/engine_notifications.h"
#include "engine/monitor_worker.h"
#include "engine/periodic_timer.h"
#include "engine/playback_core.h"
#include "engine/reset_messages.h"

namespace velvasto {

struct StartOptions {
  // The master volume 0..127 the song starts with: the list entry's own volume while a list
  // plays, else "Volume Value".
  std::uint32_t masterVolume = 127;
  ResetSwitches resets;
};

class PlaybackEngine {
 public:
  enum class State : std::uint8_t { Stopped, Playing, Paused };

  // The timers must outlive the engine; `timerPeriodMs` is the dispatch period, the application's
  // timer period (1 to 20 ms).
  PlaybackEngine(Clock& clock, PeriodicTimer& dispatchTimer, PeriodicTimer& workerTimer, std::uint32_t timerPeriodMs);
  // Stops both timers; sends nothing (call Stop first to silence the devices).
  ~PlaybackEngine();
  PlaybackEngine(const PlaybackEngine&) = delete;
  PlaybackEngine& operator=(const PlaybackEngine&) = delete;

  // Plays `song` from the start of its table. `portB` is used only when the song uses two ports.
  // The song, the devices and the sink must stay alive until Stop. Sends the enabled reset
  // messages to port A and then to port B, each followed by a 50 ms pause, then starts the timer
  // and the worker. The song's rhythm-part values follow the System Exclusive messages sent
  // outside the timer (reset messages, chase). A started song is stopped first. Throws: 6 when
  // the song has no table; 1008 for a reset message the device refused; 1012 when the timer
  // cannot start; 25 when the worker cannot start.
  void Start(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB, EngineNotificationSink& sink,
             const StartOptions& options);
  // Ends playback: stops the timer and the worker, silences and resets the devices. Nothing when
  // stopped. Throws 1007 (silencing) or 1013 (reset).
  void Stop();
  // Stops the timer and silences the devices; the position stays. Only while playing.
  // Throws 1007.
  void Pause();
  // Restarts the timer after Pause. Throws 1012.
  void Resume();
  // Moves to `seconds` from the start of the song proper and rebuilds the controller state there
  // (chase). Ignored while stopped and when the song is already there. Control blocks are never
  // sent again. Throws 1007, 1008, 1012 or 1013.
  void Seek(std::uint32_t seconds);
  // Sets the master volume 0..127 and resends every channel volume the song has set, scaled.
  // Throws 1007.
  void SetMasterVolume(std::uint32_t value);

  State GetState() const { return state_.load(std::memory_order_acquire); }
  // Microseconds from the start of the table up to which records have been sent.
  std::uint64_t SongTimeUs() const { return core_.songTimeUs.load(std::memory_order_relaxed); }
  // Whole seconds from the start of the song proper; 0 while control blocks play.
  std::uint32_t PositionSeconds() const;
  // Beats per minute of the last tempo record sent; 120 before the first.
  std::uint32_t TempoBpm() const { return core_.tempo.load(std::memory_order_relaxed); }
  std::uint32_t MasterVolume() const { return core_.masterVolume.load(std::memory_order_relaxed); }
  std::uint32_t TimerPeriodMs() const { return core_.timerPeriodMs; }

  // Replaces `out` with the entries waiting in the application monitor ring, oldest first.
  void TakeMonitorEntries(std::vector<MonitorEntry>& out) { core_.appRing.TakeAll(out); }

 private:
  void StopLocked();
  void StartDispatchTimer();
  // Leaves any control block still marked running; true when one was.
  bool CloseRunningBlocks();
  // Calls `action(port, device)` for port A, then port B when the song uses it.
  template <typename Action>
  void ForEachPort(Action&& action);

  Clock& clock_;
  PeriodicTimer& dispatchTimer_;
  PeriodicTimer& workerTimer_;
  // Serialises the transport operations.
  std::mutex transportMutex_;
  // Held by Seek; the worker posts no position meanwhile.
  std::mutex positionMutex_;
  std::atomic<State> state_{State::Stopped};
  EngineNotificationSink* sink_ = nullptr;
  PlaybackCore core_;
  MonitorWorker worker_;
};

}  // namespace velvasto
