#pragma once
// The application object: the one holder of the program-wide state (settings, transport state,
// play list, open request, flags) and the steps of start-up and shutdown that need no window
// toolkit. The desktop shell and the terminal player each own one and hand it to the parts
// that need it.
//
// Start-up (Start): clear the flags, read the command line into the open request, then either
// hand the request to an instance that already runs (and end) or become the running instance:
// find and read the settings file (settings block, port choice, port sets, timer period). The
// shell then creates its
// windows, processes the open request, and calls ListenForRequests.
// Shutdown (SaveSettings, then destruction): write the settings block and the timer period;
// the instance lock is released when the object goes away.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "app/open_request.h"
#include "app/single_instance.h"
#include "core/cini_file.h"
#include "core/settings_block.h"
#include "midiout/device_catalog.h"
#include "midiout/midi_port.h"
#include "midiout/midi_port_set.h"
#include "playlist/play_list.h"
#include "playlist/random_source.h"

namespace velvasto {

enum class PlayState : std::int32_t { Stopped = 0, Playing = 1, Paused = 2 };

// The period range of the output timer, in milliseconds.
struct TimerRange {
  std::uint32_t minimum = 1;
  std::uint32_t maximum = 20;
};

// The timer periods in milliseconds: the device's range (its maximum never above 20) and the
// period in use, kept inside that range.
struct TimerPeriods {
  static constexpr std::uint32_t kUpperBound = 20;
  std::uint32_t maximum = kUpperBound;
  std::uint32_t minimum = 1;
  std::uint32_t period = 5;
};

// Where start-up finds its files; an empty path means the program's own choice.
struct StartupPlaces {
  std::filesystem::path runtimeFolder;  // the instance lock and socket (InstanceRuntimeDirectory)
  std::filesystem::path settingsFile;   // the settings file (LocateSettingsFile of the executable)
};

class CVelvastoApp {
 public:
  enum class StartResult {
    Primary,     // this is the running instance; the shell goes on
    HandedOver,  // another instance runs and has the request (if it could take it); end now
  };

  // `random` is where the play list draws its random order from (the clock-seeded generator
  // when none is given).
  explicit CVelvastoApp(std::unique_ptr<RandomSource> random = nullptr);
  CVelvastoApp(const CVelvastoApp&) = delete;
  CVelvastoApp& operator=(const CVelvastoApp&) = delete;

  // The start-up steps. `arguments` excludes the program name; `devices` lists the outputs the
  // port choices refer to; `timerRange` is the output timer's. Throws CErrMessage: 31..35 for
  // the command line (the shell shows the text and exits with status 1), 24 when the instance
  // lock cannot be made; and the port model's errors (CMMSystemErrMessage 1001 when no output
  // device answers).
  StartResult Start(std::span<const std::string> arguments, MidiDeviceCatalog& devices,
                    const StartupPlaces& places = {}, TimerRange timerRange = {});

  // Running instance: take requests of later starts. `onRequest` runs on the listener thread.
  void ListenForRequests(CSingleInstance::RequestHandler onRequest);

  // Writes the settings block, then "Timer Period". Throws CErrMessage 11 (message 62012) at
  // the first key that cannot be written; the keys after it are not written.
  void SaveSettings();

  // State read and written by the parts of the program (all on the user-interface thread).
  SettingsBlock settings;
  std::int32_t singleRepeat = 0;  // repeat the current song; not stored
  bool gmSystemOff = false;       // send GM System Off before each song; not stored
  PlayState playState = PlayState::Stopped;
  bool listPlaying = false;       // the current song came from the play list
  CPlayList playList;
  OpenRequest openRequest;        // from the command line, then from each later start
  bool closeAfterPlay = false;    // started with exactly one song: close when it ends
  bool installFlag = false;       // /Commit
  bool uninstallFlag = false;     // /Uninstall
  TimerPeriods timerPeriods;
  CMIDIPort activePort;             // the ports the next song opens
  CMIDIPort defaultPort;            // the choice that stopping a song restores
  CMIDIPortSetCollection portSets;  // the patchbay; portSets.Use() tells whether it is on
  // Guards the engine's time display data against the time meter and seeking.
  std::mutex timeMutex;

  bool IsPrimary() const { return instance_ && instance_->IsPrimary(); }

 private:
  CINIFile settingsFile_;
  std::unique_ptr<CSingleInstance> instance_;
};

}  // namespace velvasto
