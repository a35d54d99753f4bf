#pragma once
// The player controller on virtual time, with recording devices, a view and meters that log
// what they are told, and a prompt that answers from a script.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
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
#include "midiout/device_catalog.h"
#include "midiout/device_error.h"
#include "playlist/random_source.h"
#include "support/temp_dir.h"

namespace velvasto::test {

// Output devices that record what they are sent, one stream per device name, kept after the
// device is gone. The mapper records under "mapper".
class RecordingCatalogue final : public MidiDeviceCatalog {
 public:
  explicit RecordingCatalogue(std::vector<std::string> names) : names_(std::move(names)) {}

  std::vector<std::optional<std::string>> ListDevices() override;
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override;
  std::unique_ptr<MidiOutDevice> MakeMapper() override;

  // Every line the device of that name recorded.
  std::vector<std::string> Lines(const std::string& name) const;
  // Only its note-on lines ("<time> <port> MSG 9n kk vv").
  std::vector<std::string> NoteOns(const std::string& name) const;
  // The next `count` short messages sent to any device fail as a refusing port's would.
  void FailShortSends(int count) { *failShortSends_ = count; }
  // Devices of this name fail to open.
  void FailOpening(const std::string& name) { failOpen_ = name; }

 private:
  std::unique_ptr<MidiOutDevice> Make(const std::string& name, PortId letter);

  std::vector<std::string> names_;
  std::map<std::string, std::shared_ptr<std::ostringstream>> streams_;
  std::shared_ptr<int> failShortSends_ = std::make_shared<int>(0);
  std::string failOpen_;
};

class LoggingView final : public PlayerView {
 public:
  void SetWindowTitle(const std::string& title) override {
    title_ = title;
    Log("title " + title);
  }
  void RepaintTitleArea() override { Log("title area"); }
  void Repaint() override { Log("repaint"); }
  void LayOut() override { Log("layout"); }
  void CommandStatesChanged() override {}
  void SetPlayLamp(bool lit) override { Log(lit ? "lamp on" : "lamp off"); }
  void ShowBusy(bool busy) override { Log(busy ? "busy" : "idle"); }
  void ResetMetersForPlay() override { Log("meters play"); }
  void ResetMetersForRepeat() override { Log("meters repeat"); }
  void ClearMeters() override { Log("meters clear"); }
  void SetVolumeSlider(int volume) override { Log("slider " + std::to_string(volume)); }
  void ShowVolumeValue(int volume) override { Log("volume " + std::to_string(volume)); }
  void SetMapDisplay(int map) override { Log("map " + std::to_string(map)); }
  void RefreshSongProperties(const SongInfo* info) override { Log(info ? "properties " + info->title : "properties none"); }
  void ShowSongProperties(const SongInfo*) override { Log("show properties"); }
  bool OpenControlFileProgress(int kind, std::uint32_t total) override {
    Log("progress open " + std::to_string(kind) + " " + std::to_string(total));
    return true;
  }
  void SetControlFileProgress(std::uint32_t sent) override { Log("progress " + std::to_string(sent)); }
  void CloseControlFileProgress() override { Log("progress close"); }
  void CloseMainWindow() override { Log("close window"); }

  const std::string& Title() const { return title_; }
  const std::vector<std::string>& Calls() const { return calls_; }
  int Count(const std::string& call) const;
  void Clear() { calls_.clear(); }

 private:
  void Log(std::string call) { calls_.push_back(std::move(call)); }

  std::string title_;
  std::vector<std::string> calls_;
};

class LoggingMonitor final : public MonitorSink {
 public:
  void NoteEvent(const MonitorEntry& entry) override;
  void ChannelVolume(const MonitorEntry& entry) override;
  void ChannelExpression(const MonitorEntry& entry) override;
  void Tempo(std::uint32_t beatsPerMinute) override { calls.push_back("tempo " + std::to_string(beatsPerMinute)); }
  void MasterVolume(std::uint32_t port, std::uint32_t value) override;
  void RepaintPianoRoll(std::uint32_t port) override { calls.push_back("roll " + std::to_string(port)); }
  void PlayTime(std::uint32_t seconds) override { calls.push_back("time " + std::to_string(seconds)); }

  std::vector<std::string> calls;
};

class ScriptedPrompt final : public UserPrompt {
 public:
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowDeviceError(const CDeviceErrMessage& error) override {
    errors.push_back(error.Message());
    details.push_back(error.Detail());
  }
  Answer Ask(const std::string& question) override;
  std::optional<std::filesystem::path> ChooseListFileToSave(const std::filesystem::path& folder,
                                                            const std::filesystem::path& fileName) override;
  std::optional<std::filesystem::path> ChooseListFileToOpen(const std::filesystem::path&) override { return listToOpen; }
  std::optional<std::filesystem::path> ChooseSongFile(const std::filesystem::path&) override { return songFile; }
  std::optional<int> ChooseListEntry(const CPlayList&) override { return listEntry; }

  std::vector<std::string> errors;
  std::vector<std::string> details;  // of device errors
  std::vector<std::string> questions;
  std::deque<Answer> answers;  // Cancel once they run out
  std::optional<std::filesystem::path> saveAs;
  std::vector<std::filesystem::path> proposedSaveNames;
  std::optional<std::filesystem::path> listToOpen;
  std::optional<std::filesystem::path> songFile;
  std::optional<int> listEntry;
};

// Random picks taken from a queue the test fills; 0 once it runs out.
class QueuedRandom final : public RandomSource {
 public:
  explicit QueuedRandom(std::shared_ptr<std::deque<std::uint32_t>> draws) : draws_(std::move(draws)) {}
  void Reseed() override {}
  std::uint32_t Draw() override;

 private:
  std::shared_ptr<std::deque<std::uint32_t>> draws_;
};

class ControllerTest : public ::testing::Test {
 protected:
  ControllerTest();
  ~ControllerTest() override;

  // A format-0 song at 120 beats per minute: one note of `note` from 0 to `lengthUs`.
  std::filesystem::path Song(const std::string& name, std::uint8_t note, std::uint64_t lengthUs = 500'000);
  // A version 3.0 list file of `paths`, each with `volume`.
  std::filesystem::path ListFile(const std::string& name, const std::vector<std::filesystem::path>& paths,
                                 int volume = 127);
  // The request of a start of the program with these files; modes not given.
  void Request(std::vector<std::filesystem::path> paths);

  // Plays on virtual time until nothing is loaded (or the limit of steps is reached).
  VirtualPlayback::Outcome RunToEnd();
  // Moves virtual time on and lets the controller handle what was posted.
  void AdvanceMs(std::uint64_t ms);
  // Plays until the song that is playing has ended and the controller moved on.
  void FinishSong();

  // The note numbers, in order, of the note-ons recorded on the mapper.
  std::vector<int> PlayedNotes() const;
  CommandState State(CommandId command) const { return controller->Query(command); }

  TempDir dir;
  std::shared_ptr<std::deque<std::uint32_t>> draws = std::make_shared<std::deque<std::uint32_t>>();
  CVelvastoApp app{std::make_unique<QueuedRandom>(draws)};
  RecordingCatalogue devices{{"Out A", "Out B"}};
  LoggingView view;
  LoggingMonitor monitor;
  ScriptedPrompt prompt;
  VirtualPlayback playback;
  // Songs the loader makes in place of reading these files (for tables no reader writes).
  std::map<std::filesystem::path, std::function<std::unique_ptr<CMIDIStream>()>> madeSongs;
  std::unique_ptr<PlayerController> controller;
};

}  // namespace velvasto::test
