#pragma once
// CSongSlot: the one song that is loaded at a time, with its information record, its open
// output devices and the engine that plays it, and the transport operations on it.
//
// Every operation shows its failure once, through the error reporter, and then throws it on to
// its caller, which must not show it again. The play state of the application is written here
// and nowhere else.
//
// Each start of a song (Play, Restart) gets a new number; the engine's notifications reach the
// notification queue stamped with it, so that the owner can tell them from those of an earlier
// start.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/notification_queue.h"
#include "app/velvasto_app.h"
#include "engine/clock.h"
#include "engine/monitor_entry.h"
#include "engine/periodic_timer.h"
#include "engine/playback_engine.h"
#include "engine/error_reporter.h"
#include "midiout/device_catalog.h"
#include "midiout/midi_port.h"
#include "song/song_info.h"
#include "song/song_settings.h"

namespace velvasto {

// What the engine of each song runs on: the machine's clock and timers for live play, a virtual
// clock and its timers for tests and fast playback. They must outlive the slot.
struct PlaybackTiming {
  Clock& clock;
  PeriodicTimer& dispatchTimer;
  PeriodicTimer& workerTimer;
};

// Loads a song file with the settings the reader needs; LoadSong asks the readers in turn.
using SongLoader = std::function<std::unique_ptr<CMIDIStream>(const std::filesystem::path&, const SongSettings&)>;

// How a song is to be loaded and started.
struct SongStart {
  SongSettings settings;  // what the reader needs
  StartOptions options;   // start volume and reset messages
  std::uint32_t timerPeriodMs = 5;
};

class CSongSlot {
 public:
  // `loader` loads the song files (LoadSong when none is given).
  CSongSlot(PlayState& playState, PlaybackTiming timing, MidiDeviceCatalog& devices, ErrorReporter& reporter,
            NotificationQueue& notifications, SongLoader loader = nullptr);
  // Stops a loaded song; failures are not reported then.
  ~CSongSlot();
  CSongSlot(const CSongSlot&) = delete;
  CSongSlot& operator=(const CSongSlot&) = delete;

  // Loads `path` with the first reader that accepts it, fills the information record, opens the
  // devices of `ports` and starts the engine; play state playing. Throws CErrMessage 10 while a
  // song is held. On any failure nothing stays loaded, the information record is empty and the
  // play state is stopped.
  void Play(const std::filesystem::path& path, const CMIDIPort& ports, const SongStart& start);
  // Whether the last Play that failed failed on its file (no reader took it, or the one that did
  // could not load it), rather than on the devices or the engine, which another song would meet
  // as well.
  bool FileFailed() const { return fileFailed_; }
  // Stops the engine, closes the devices and lets the song go; play state stopped. The song is
  // let go even when stopping fails (the failure is shown and thrown on). Nothing when stopped.
  void Stop();
  // Starts the loaded song again from its beginning with `options` (the volume that applies
  // now); play state playing. Nothing when stopped.
  void Restart(const StartOptions& options);
  // Only while playing; play state paused.
  void Pause();
  // Only while paused; play state playing.
  void Resume();
  // Whole seconds from the start of the song proper. Nothing when stopped.
  void Seek(std::uint32_t seconds);
  // Master volume 0..127. Nothing when stopped.
  void SetVolume(std::uint32_t volume);

  // The information record of the song last loaded, until ClearInfo or a failed Play.
  const std::optional<SongInfo>& Info() const { return info_; }
  void ClearInfo() { info_.reset(); }

  bool Loaded() const { return loaded_ != nullptr; }
  // The number of the current start of the song; notifications of other starts are stale.
  std::uint64_t CurrentStart() const { return start_; }
  // The engine of the loaded song (null when none): position, tempo, monitor entries.
  PlaybackEngine* Engine() const;
  // The loaded song, or null.
  const CMIDIStream* Song() const;
  // The file of the loaded song (empty when none is loaded).
  std::filesystem::path SongPath() const;
  // Replaces `out` with the monitor entries of the loaded song waiting for the owner.
  void TakeMonitorEntries(std::vector<MonitorEntry>& out);

 private:
  struct LoadedSong;
  class StampedSink;

  // Starts the engine of the loaded song from its beginning under a new start number.
  void StartEngine(const StartOptions& options);
  // Stops and lets go of the loaded song without reporting anything.
  void ReleaseQuietly();

  PlayState& playState_;
  PlaybackTiming timing_;
  MidiDeviceCatalog& devices_;
  ErrorReporter& reporter_;
  NotificationQueue& notifications_;
  SongLoader loader_;
  std::optional<SongInfo> info_;
  std::unique_ptr<LoadedSong> loaded_;
  std::uint64_t start_ = 0;
  bool fileFailed_ = false;
};

}  // namespace velvasto
