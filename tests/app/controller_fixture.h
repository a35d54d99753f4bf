#pragma once
// The player controller on virtual time, with recording devices, a view and meters that log
// what they are told, and a prompt that answers from a script.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/monitor_sink.h"
#include "app/player_controller.h"
#include "app/player_view.h"
#include "app/user_prompt.h"
#include "app/velvasto_app.h"
#include "app/virtual_playback.h"
#include "core/cini_file.h"
#include "core/errors.h"
#include "midiout/backends/recording_device.h"
#include "midiout/device_catalog.h"
#include "midiout/device_error.h"
#include "song/song_loader.h"
#include "support/list_builder.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto::test {

// A recording device that fails to open when told, and whose short sends fail while the shared
// count of failures lasts.
class FlakyDevice final : public MidiOutDevice {
 public:
  FlakyDevice(std::string name, PortId letter, std::shared_ptr<RecordSink> sink, std::shared_ptr<int> failShortSends,
              bool failOpen)
      : recorder_(std::move(name), letter, std::move(sink)), failShortSends_(std::move(failShortSends)), failOpen_(failOpen) {}
  const std::string& Name() const override { return recorder_.Name(); }
  void Open() override {
    if (failOpen_) throw CDeviceErrMessage(mmerr::kOpen, Name() + " is gone");
    recorder_.Open();
  }
  void Close() override { recorder_.Close(); }
  bool IsOpen() const override { return recorder_.IsOpen(); }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override {
    if (*failShortSends_ > 0) {
      --*failShortSends_;
      throw CMMSystemErrMessage(mmerr::kShortMsg);
    }
    recorder_.SendShort(message, timeUs);
  }
  void SendLong(LongMessage& message, std::uint64_t timeUs) override { recorder_.SendLong(message, timeUs); }
  void Reset() override { recorder_.Reset(); }
  void ResetControllers() override { recorder_.ResetControllers(); }
  bool NeedsPacing() const override { return false; }

 private:
  RecordingDevice recorder_;
  std::shared_ptr<int> failShortSends_;
  bool failOpen_;
};

// Output devices that record what they are sent, one stream per device name, kept after the
// device is gone. The mapper records under "mapper".
class RecordingCatalogue final : public MidiDeviceCatalog {
 public:
  explicit RecordingCatalogue(std::vector<std::string> names) : names_(std::move(names)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return {names_.begin(), names_.end()}; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override {
    return Make(entry.name, entry.name.ends_with('B') ? PortId::B : PortId::A);
  }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return Make("mapper", PortId::A); }

  // Every line the device of that name recorded.
  std::vector<std::string> Lines(const std::string& name) const {
    std::vector<std::string> lines;
    const auto found = streams_.find(name);
    std::istringstream in(found == streams_.end() ? "" : found->second.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // While above 0, short messages sent to any device fail as a refusing port's would.
  std::shared_ptr<int> failShortSends = std::make_shared<int>(0);
  std::string failOpen;  // devices of this name fail to open

 private:
  // The streams outlive the devices: the controller goes before the catalogue.
  std::unique_ptr<MidiOutDevice> Make(const std::string& name, PortId letter) {
    return std::make_unique<FlakyDevice>(name, letter, std::make_shared<RecordSink>(streams_[name]), failShortSends,
                                         name == failOpen);
  }

  std::vector<std::string> names_;
  std::map<std::string, std::ostringstream> streams_;
};

class LoggingView final : public PlayerView {
 public:
  void SetWindowTitle(const std::string& text) override { title = text; }
  void RepaintTitleArea() override {}
  void Repaint() override {}
  void LayOut() override {}
  void CommandStatesChanged() override {}
  void SetPlayLamp(bool) override {}
  void ShowBusy(bool) override {}
  void ResetMetersForPlay() override {}
  void ResetMetersForRepeat() override { calls.push_back("meters repeat"); }
  void ClearMeters() override { calls.push_back("meters clear"); }
  void SetVolumeSlider(int volume) override { calls.push_back("slider " + std::to_string(volume)); }
  void ShowVolumeValue(int volume) override { calls.push_back("volume " + std::to_string(volume)); }
  void SetMapDisplay(int) override {}
  void RefreshSongProperties(const SongInfo*) override {}
  void ShowSongProperties(const SongInfo*) override {}
  bool OpenControlFileProgress(int kind, std::uint32_t total) override {
    calls.push_back("progress open " + std::to_string(kind) + " " + std::to_string(total));
    return true;
  }
  void SetControlFileProgress(std::uint32_t sent) override { calls.push_back("progress " + std::to_string(sent)); }
  void CloseControlFileProgress() override { calls.push_back("progress close"); }
  void CloseMainWindow() override { calls.push_back("close window"); }

  int Count(const std::string& call) const { return static_cast<int>(std::ranges::count(calls, call)); }

  std::string title;
  std::vector<std::string> calls;
};

class LoggingMonitor final : public MonitorSink {
 public:
  void NoteEvent(const MonitorEntry& entry) override { Log("note", entry.port, static_cast<int>(entry.kind)); }
  void ChannelVolume(const MonitorEntry& entry) override { Log("volume", entry.port, entry.channel, entry.value); }
  void ChannelExpression(const MonitorEntry& entry) override { Log("expression", entry.port, entry.channel, entry.value); }
  void Tempo(std::uint32_t beatsPerMinute) override { Log("tempo", beatsPerMinute); }
  void MasterVolume(std::uint32_t port, std::uint32_t value) override { Log("master", port, value); }
  void RepaintPianoRoll(std::uint32_t port) override { Log("roll", port); }
  void PlayTime(std::uint32_t seconds) override { Log("time", seconds); }

  std::vector<std::string> calls;

 private:
  // "<what> <value> <value>…"
  template <typename... Values>
  void Log(std::string what, Values... values) {
    ((what += " " + std::to_string(values)), ...);
    calls.push_back(std::move(what));
  }
};

class ScriptedPrompt final : public UserPrompt {
 public:
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowDeviceError(const CDeviceErrMessage& error) override { errors.push_back(error.Message()); }
  Answer Ask(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::filesystem::path> ChooseListFileToSave(const std::filesystem::path&,
                                                            const std::filesystem::path& fileName) override {
    proposedSaveNames.push_back(fileName);
    return saveAs;
  }
  std::optional<std::filesystem::path> ChooseListFileToOpen(const std::filesystem::path&) override { return {}; }
  std::optional<std::filesystem::path> ChooseSongFile(const std::filesystem::path&) override { return songFile; }
  std::optional<int> ChooseListEntry(const CPlayList&) override { return std::nullopt; }

  std::vector<std::string> errors;
  std::vector<std::string> questions;
  std::deque<Answer> answers;  // Cancel once they run out
  std::optional<std::filesystem::path> saveAs;
  std::vector<std::filesystem::path> proposedSaveNames;
  std::optional<std::filesystem::path> songFile;
};

class ControllerTest : public ::testing::Test {
 protected:
  ControllerTest() {
    CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini");
    app.activePort.Load(devices);
    app.defaultPort = app.activePort;
    app.portSets.Load(devices);
    const SongLoader loader = [this](const std::filesystem::path& path, const SongSettings& settings) {
      return madeSong ? std::move(madeSong) : LoadSong(path, settings);
    };
    controller = std::make_unique<PlayerController>(
        PlayerController::Parts{app, devices, playback.Timing(), view, monitor, prompt, loader});
  }
  ~ControllerTest() override { CINIFile::SetSettingsPath({}); }

  // A format-0 song at 120 beats per minute: one note of `note` from 0 to `lengthUs` (whole
  // quarter notes).
  std::filesystem::path Song(const std::string& name, std::uint8_t note, std::uint64_t lengthUs = 500'000) {
    SmfBuilder smf(0, 480);
    const auto ticks = static_cast<std::uint32_t>(lengthUs / 500'000 * 480);
    smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(ticks, 0, note).EndOfTrack(0);
    return dir.Write(name, smf.Build());
  }
  // A version 3.0 list file of `paths`, each with `volume`.
  std::filesystem::path ListFile(const std::string& name, const std::vector<std::filesystem::path>& paths,
                                 int volume = 127) {
    std::string names;
    std::string volumes;
    for (const auto& path : paths) {
      names += path.string() + "\r\n";
      volumes += std::to_string(volume) + "\r\n";
    }
    return dir.Write(name, CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", ""}) + names +
                               CrLfLines({"", "[Section END]", "", "[Volume]", ""}) + volumes +
                               CrLfLines({"", "[Section END]"}));
  }
  // The request of a start of the program with these files; modes not given.
  void Request(std::vector<std::filesystem::path> paths) { app.openRequest = OpenRequest{.paths = std::move(paths)}; }
  // Plays on virtual time until nothing is loaded (or the limit of steps is reached).
  VirtualPlayback::Outcome RunToEnd() {
    int steps = 0;
    return playback.Run(*controller, app.timerPeriods.period, [&] { return ++steps < 1'000'000; });
  }
  // Moves virtual time on and lets the controller handle what was posted.
  void AdvanceMs(std::uint64_t ms) {
    playback.Clock().AdvanceMs(ms);
    controller->ProcessNotifications();
  }
  // Plays until the song that is playing has ended and the controller moved on.
  void FinishSong() {
    const std::uint64_t start = controller->StartNumber();
    for (int step = 0; step < 100'000 && controller->Song() && controller->StartNumber() == start; ++step) {
      AdvanceMs(5);
    }
  }
  // The note numbers, in order, of the note-ons recorded on the mapper ("<time> A MSG 90 3C 64").
  std::vector<int> PlayedNotes() const {
    std::vector<int> notes;
    for (const std::string& line : devices.Lines("mapper")) {
      if (line.find(" MSG 9") != std::string::npos) notes.push_back(std::stoi(line.substr(line.find(" MSG 9") + 8, 2), nullptr, 16));
    }
    return notes;
  }
  CommandState State(CommandId command) const { return controller->Query(command); }

  TempDir dir;
  CVelvastoApp app;
  RecordingCatalogue devices{{"Out A", "Out B"}};
  LoggingView view;
  LoggingMonitor monitor;
  ScriptedPrompt prompt;
  VirtualPlayback playback;
  // A song the loader gives once in place of reading a file (for tables no reader writes).
  std::unique_ptr<CMIDIStream> madeSong;
  std::unique_ptr<PlayerController> controller;
};

}  // namespace velvasto::test
