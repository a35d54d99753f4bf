// `play [--order norm|rep|rand] [--repeat-one] [--fast] [--out PORT=NAME]... FILE...`: songs and
// list files played through the player controller, as the desktop program plays them from its
// command line. One song plays as a single song (and the player ends with it); several files or
// a list file make a list, played in the chosen order.
//
// Live, on the machine's clock, with the status line and the keys of terminal/key_decoder.h
// (n: the next song of a list). With --fast, on virtual time as fast as the machine allows: for
// recordings (--out A=record:FILE), which then hold exactly what live play sends, with a
// progress line on a terminal.
//
// A recording replaces its file when the player ends by itself or by q, if anything was
// recorded; a stop signal or a recording that cannot be written leaves an older file as it was.
// A song that fails is told of and passed over, as in a list; the others are still recorded.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/player_controller.h"
#include "app/stop_signals.h"
#include "app/velvasto_app.h"
#include "app/virtual_playback.h"
#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/error_output.h"
#include "cli/option_value.h"
#include "cli/output/output_plan.h"
#include "cli/output/planned_devices.h"
#include "cli/player/terminal_face.h"
#include "cli/terminal/ending_signals.h"
#include "cli/terminal/player_input.h"
#include "cli/terminal/raw_terminal.h"
#include "cli/terminal/status_line.h"
#include "cli/usage_problem.h"
#include "core/cini_file.h"
#include "core/errors.h"
#include "core/file_type.h"
#include "engine/monotonic_clock.h"
#include "engine/steady_periodic_timer.h"
#include "midiout/device_registry.h"
#include "playlist/list_file.h"

namespace velvasto::cli {
namespace {

constexpr std::uint32_t kSeekStepSeconds = 5;
constexpr int kVolumeStep = 8;
constexpr auto kStatusInterval = std::chrono::milliseconds(200);

struct PlayArguments {
  std::vector<std::filesystem::path> files;
  std::int32_t order = 0;  // 0 no repeat, 1 repeat, 2 random
  bool repeatOne = false;
  bool fast = false;
  OutputRequest outputs;
  bool outputsGiven = false;
};

PlayArguments ReadArguments(std::span<const std::string_view> args) {
  PlayArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string_view name) { return OptionValue(args, i, name); };
    if (const auto order = value("--order")) {
      if (*order == "norm") {
        parsed.order = 0;
      } else if (*order == "rep") {
        parsed.order = 1;
      } else if (*order == "rand") {
        parsed.order = 2;
      } else {
        throw UsageProblem("--order takes norm, rep or rand");
      }
    } else if (const auto out = value("--out")) {
      AddOutOption(*out, parsed.outputs);
      parsed.outputsGiven = true;
    } else if (arg == "--repeat-one") {
      parsed.repeatOne = true;
    } else if (arg == "--fast") {
      parsed.fast = true;
    } else if (arg.starts_with("-") && arg != "-") {
      throw UsageProblem("play does not know the option " + std::string(arg));
    } else {
      parsed.files.emplace_back(arg);
    }
  }
  if (parsed.files.empty()) throw UsageProblem("play needs at least one FILE");
  if (parsed.files.size() > OpenRequest::kMaxPaths) throw UsageProblem("play takes at most 1024 files");
  if (parsed.fast && (parsed.order != 0 || parsed.repeatOne)) {
    throw UsageProblem("--fast plays the songs once: it takes neither --order rep, --order rand nor --repeat-one");
  }
  return parsed;
}

// Every file must be a song or a list file. False after printing why one is not.
bool CheckFiles(const std::vector<std::filesystem::path>& files) {
  for (const std::filesystem::path& file : files) {
    try {
      if (TypeProbe(file).Detect() != FileType::Unknown) continue;
      std::fprintf(stderr, "%s: %s\n", file.string().c_str(), AppErrorText(errc::kUnsupportedFileType).c_str());
    } catch (const CErrMessage& error) {
      std::fprintf(stderr, "%s: %s\n", file.string().c_str(), error.Message().c_str());
    }
    return false;
  }
  return true;
}

// What play reads: the files given, the songs of the list files among them, the settings file.
std::vector<std::filesystem::path> InputFiles(const std::vector<std::filesystem::path>& files) {
  std::vector<std::filesystem::path> inputs = files;
  for (const std::filesystem::path& file : files) {
    try {
      if (TypeProbe(file).Detect() != FileType::List) continue;
      CPlayList list;
      LoadListFile(list, file, ListLoadMode::Replace, 0);
      for (const ListEntry& entry : list.Entries()) inputs.push_back(entry.path);
    } catch (const CErrMessage&) {
      // A list that cannot be read holds nothing to protect; playing tells of it.
    }
  }
  inputs.push_back(CINIFile::SettingsPath());
  return inputs;
}

// Recording into a file the command reads would destroy it before it is read.
void RefuseToRecordOverInputs(const OutputRequest& outputs, const std::vector<std::filesystem::path>& files) {
  const std::vector<std::filesystem::path> records = RecordFiles(outputs);
  if (records.empty()) return;
  for (const std::filesystem::path& input : InputFiles(files)) {
    for (const std::filesystem::path& record : records) {
      std::error_code ec;
      if (std::filesystem::equivalent(input, record, ec)) {
        throw UsageProblem("play would record over " + input.string() + ", a file it reads");
      }
    }
  }
}

bool AllRecorded(const OutputPlan& plan) {
  const auto recorded = [&](PortId port) { return plan.Describe(port).starts_with("record:"); };
  return recorded(PortId::A) && (plan.PortCount() == 1 || recorded(PortId::B));
}

void HandleKey(KeyCommand key, PlayerController& controller, bool& quit) {
  const PlayerStatus status = controller.Status();
  const std::uint32_t position = status.positionSeconds;
  const int volume = static_cast<int>(status.masterVolume);
  switch (key) {
    case KeyCommand::PauseResume:
      controller.Execute(CommandId::Pause);
      break;
    case KeyCommand::Restart:
      controller.Execute(CommandId::Rewind);
      break;
    case KeyCommand::Next:
      controller.Execute(CommandId::FastForward);
      break;
    case KeyCommand::Back:
      controller.Seek(position > kSeekStepSeconds ? position - kSeekStepSeconds : 0);
      break;
    case KeyCommand::Forward: {
      // Not past the end: the song then ends at once and the position shown stays within it.
      const std::uint64_t target =
          std::min<std::uint64_t>(std::uint64_t{position} + kSeekStepSeconds, status.lengthSeconds);
      if (target > position) controller.Seek(static_cast<std::uint32_t>(target));
      break;
    }
    case KeyCommand::VolumeUp:
      controller.SetVolume(std::min(volume + kVolumeStep, 127));
      break;
    case KeyCommand::VolumeDown:
      controller.SetVolume(std::max(volume - kVolumeStep, 0));
      break;
    case KeyCommand::Quit:
      quit = true;
      break;
  }
}

// How a run of the player ended.
struct PlayEnd {
  int stopSignal = 0;  // the signal that stopped it, or 0
  bool stalled = false;
};

// Plays on the machine's clock until the songs are done, q, a stop signal or a failed recording.
PlayEnd PlayLive(CVelvastoApp& app, MidiDeviceCatalog& devices, const OutputPlan* plan, TerminalFace& face,
                 StatusLine& status, const StopSignals& signals) {
  const RawTerminal raw(STDIN_FILENO);
  PlayerInput input(signals, STDIN_FILENO);
  MonotonicClock clock;
  SteadyPeriodicTimer dispatchTimer(SteadyPeriodicTimer::Priority::RealTime);
  SteadyPeriodicTimer workerTimer;
  PlayerController controller({app, devices, {clock, dispatchTimer, workerTimer}, face, face, face},
                              [&input] { input.Wake(); });
  controller.Open();
  PlayEnd end;
  bool quit = false;
  while (!quit && !face.CloseRequested() && controller.Song() != nullptr) {
    const PlayerEvents events = input.Wait(kStatusInterval);
    end.stopSignal = events.stopSignal;
    if (end.stopSignal != 0) break;
    for (const KeyCommand key : events.keys) HandleKey(key, controller, quit);
    controller.ProcessNotifications();
    if (plan != nullptr && plan->RecordFailed()) break;
    face.ShowStatus(controller, app);
  }
  controller.PrepareToClose();
  status.Finish();
  return end;
}

// Plays on virtual time, with a progress line on a terminal: a long song can take long.
PlayEnd PlayFast(CVelvastoApp& app, MidiDeviceCatalog& devices, const OutputPlan& plan, TerminalFace& face,
                 StatusLine& status, const StopSignals& signals) {
  VirtualPlayback playback;
  PlayerController controller({app, devices, playback.Timing(), face, face, face});
  controller.Open();
  auto lastShown = std::chrono::steady_clock::time_point();
  const auto keepGoing = [&] {
    if (status.InPlace() && std::chrono::steady_clock::now() - lastShown >= kStatusInterval) {
      lastShown = std::chrono::steady_clock::now();
      face.ShowProgress(controller, app);
    }
    return !face.CloseRequested() && signals.Received() == 0 && !plan.RecordFailed();
  };
  const auto outcome = playback.Run(controller, app.timerPeriods.period, keepGoing);
  if (outcome == VirtualPlayback::Outcome::Stalled) face.ShowError(MMErrorText(mmerr::kLongMsgTimeout));
  controller.PrepareToClose();
  status.Finish();
  return {signals.Received(), outcome == VirtualPlayback::Outcome::Stalled};
}

}  // namespace

int RunPlay(std::span<const std::string_view> args) {
  PlayArguments arguments;
  std::optional<OutputPlan> plan;
  try {
    arguments = ReadArguments(args);
  } catch (const UsageProblem& problem) {
    return UsageError(problem.what());
  }
  if (!CheckFiles(arguments.files)) return kExitFileError;
  try {
    CVelvastoApp app;
    app.settings = LoadSettings();
    app.timerPeriods.period = TimerPeriodFromSettings();
    RefuseToRecordOverInputs(arguments.outputs, arguments.files);
    DeviceRegistry registry(SynthConfigFromSettings());
    app.activePort.Load(registry);
    std::optional<PlannedDevices> planned;
    if (arguments.outputsGiven || arguments.fast) {
      // Named outputs replace the settings' choice and the patchbay's.
      plan = OutputPlan::Resolve(arguments.outputs, app.activePort, registry);
      if (arguments.fast && !AllRecorded(*plan)) {
        return UsageError("--fast plays only into recordings: give --out A=record:FILE (and B likewise for two ports)");
      }
      planned.emplace(*plan, registry);
      app.activePort = planned->Choice();
    } else {
      app.portSets.Load(registry);
    }
    app.defaultPort = app.activePort;
    MidiDeviceCatalog& devices = planned ? static_cast<MidiDeviceCatalog&>(*planned) : registry;

    app.openRequest.playMode = arguments.order;
    app.openRequest.singleRepeat = arguments.repeatOne ? 1 : OpenRequest::kNotGiven;
    app.openRequest.dropMode = 0;
    for (const auto& file : arguments.files) app.openRequest.paths.push_back(std::filesystem::absolute(file));

    const StopSignals signals(RemoveTemporaryFilesAndRestoreTerminalNow);
    StatusLine status(stderr);
    TerminalFace face(status, arguments.files.front());
    const OutputPlan* recordings = plan ? &*plan : nullptr;
    const PlayEnd end = arguments.fast ? PlayFast(app, devices, *plan, face, status, signals)
                                       : PlayLive(app, devices, recordings, face, status, signals);
    if (end.stopSignal != 0) return ExitStatusForSignal(end.stopSignal);
    if (recordings && recordings->RecordFailed()) {
      face.ShowError(recordings->RecordFailure());
    } else if (recordings && !end.stalled) {
      recordings->CommitRecordings();
    }
    return face.ErrorsShown() ? kExitFileError : kExitOk;
  } catch (const UsageProblem& problem) {
    return UsageError(problem.what());
  } catch (...) {
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
}

}  // namespace velvasto::cli
