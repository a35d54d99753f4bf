#include "controller_fixture.h"

#include <algorithm>

#include "core/cini_file.h"
#include "core/errors.h"
#include "midiout/device_error.h"
#include "song/song_loader.h"
#include "midiout/backends/recording_device.h"
#include "support/list_builder.h"
#include "support/smf_builder.h"

namespace velvasto::test {

namespace {

// A recording device whose short sends fail while the catalogue's failure count lasts.
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
  bool NeedsPacing() const override { return false; }

 private:
  RecordingDevice recorder_;
  std::shared_ptr<int> failShortSends_;
  bool failOpen_;
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<std::optional<std::string>> RecordingCatalogue::ListDevices() {
  return {names_.begin(), names_.end()};
}

std::unique_ptr<MidiOutDevice> RecordingCatalogue::MakeDevice(const DeviceEntry& entry) {
  return Make(entry.name, entry.name.ends_with('B') ? PortId::B : PortId::A);
}

std::unique_ptr<MidiOutDevice> RecordingCatalogue::MakeMapper() { return Make("mapper", PortId::A); }

std::unique_ptr<MidiOutDevice> RecordingCatalogue::Make(const std::string& name, PortId letter) {
  auto& stream = streams_[name];
  if (!stream) stream = std::make_shared<std::ostringstream>();
  // The sink writes into the stream this catalogue keeps; the stream outlives every device.
  auto sink = std::shared_ptr<RecordSink>(new RecordSink(*stream), [keep = stream](RecordSink* made) { delete made; });
  return std::make_unique<FlakyDevice>(name, letter, std::move(sink), failShortSends_, name == failOpen_);
}

std::vector<std::string> RecordingCatalogue::Lines(const std::string& name) const {
  const auto found = streams_.find(name);
  return found == streams_.end() ? std::vector<std::string>{} : SplitLines(found->second->str());
}

std::vector<std::string> RecordingCatalogue::NoteOns(const std::string& name) const {
  std::vector<std::string> notes;
  for (const std::string& line : Lines(name)) {
    if (line.find(" MSG 9") != std::string::npos) notes.push_back(line);
  }
  return notes;
}

int LoggingView::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

void LoggingMonitor::NoteEvent(const MonitorEntry& entry) {
  calls.push_back("note " + std::to_string(entry.port) + " " + std::to_string(static_cast<int>(entry.kind)));
}

void LoggingMonitor::ChannelVolume(const MonitorEntry& entry) {
  calls.push_back("volume " + std::to_string(entry.port) + " " + std::to_string(entry.channel) + " " +
                  std::to_string(entry.value));
}

void LoggingMonitor::ChannelExpression(const MonitorEntry& entry) {
  calls.push_back("expression " + std::to_string(entry.port) + " " + std::to_string(entry.channel) + " " +
                  std::to_string(entry.value));
}

void LoggingMonitor::MasterVolume(std::uint32_t port, std::uint32_t value) {
  calls.push_back("master " + std::to_string(port) + " " + std::to_string(value));
}

UserPrompt::Answer ScriptedPrompt::Ask(const std::string& question) {
  questions.push_back(question);
  if (answers.empty()) return Answer::Cancel;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::filesystem::path> ScriptedPrompt::ChooseListFileToSave(const std::filesystem::path&,
                                                                          const std::filesystem::path& fileName) {
  proposedSaveNames.push_back(fileName);
  return saveAs;
}

std::uint32_t QueuedRandom::Draw() {
  if (draws_->empty()) return 0;
  const std::uint32_t value = draws_->front();
  draws_->pop_front();
  return value;
}

ControllerTest::ControllerTest() {
  CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini");
  app.activePort.Load(devices);
  app.defaultPort = app.activePort;
  app.portSets.Load(devices);
  const SongLoader loader = [this](const std::filesystem::path& path, const SongSettings& settings) {
    const auto made = madeSongs.find(path);
    return made != madeSongs.end() ? made->second() : LoadSong(path, settings);
  };
  controller = std::make_unique<PlayerController>(
      PlayerController::Parts{app, devices, playback.Timing(), view, monitor, prompt, loader});
}

ControllerTest::~ControllerTest() {
  controller.reset();
  CINIFile::SetSettingsPath({});
}

std::filesystem::path ControllerTest::Song(const std::string& name, std::uint8_t note, std::uint64_t lengthUs) {
  SmfBuilder smf(0, 480);
  // 480 ticks a quarter note at 500000 µs: a tick is 1041.666… µs; lengths here are whole quarters.
  const auto ticks = static_cast<std::uint32_t>(lengthUs / 500'000 * 480);
  smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(ticks, 0, note).EndOfTrack(0);
  return dir.Write(name, smf.Build());
}

std::filesystem::path ControllerTest::ListFile(const std::string& name, const std::vector<std::filesystem::path>& paths,
                                               int volume) {
  std::string text = CrLfLines({"[Velvasto List File Version 3.0]", "", "[FileName]", ""});
  for (const auto& path : paths) text += CrLfLines({path.string()});
  text += CrLfLines({"", "[Section END]", "", "[Volume]", ""});
  for (std::size_t i = 0; i < paths.size(); ++i) text += CrLfLines({std::to_string(volume)});
  text += CrLfLines({"", "[Section END]"});
  return dir.Write(name, text);
}

void ControllerTest::Request(std::vector<std::filesystem::path> paths) {
  app.openRequest = OpenRequest{};
  app.openRequest.paths = std::move(paths);
}

VirtualPlayback::Outcome ControllerTest::RunToEnd() {
  int steps = 0;
  return playback.Run(*controller, app.timerPeriods.period, [&] { return ++steps < 1'000'000; });
}

void ControllerTest::AdvanceMs(std::uint64_t ms) {
  playback.Clock().AdvanceMs(ms);
  controller->ProcessNotifications();
}

void ControllerTest::FinishSong() {
  const std::uint64_t start = controller->StartNumber();
  for (int step = 0; step < 100'000 && controller->Song() && controller->StartNumber() == start; ++step) AdvanceMs(5);
}

std::vector<int> ControllerTest::PlayedNotes() const {
  std::vector<int> notes;
  for (const std::string& line : devices.NoteOns("mapper")) {
    // "<time> A MSG 90 3C 64": the note is the second byte.
    const std::size_t at = line.find(" MSG 9");
    notes.push_back(std::stoi(line.substr(at + 8, 2), nullptr, 16));
  }
  return notes;
}

}  // namespace velvasto::test
