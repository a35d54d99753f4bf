#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/velvasto_app.h"
#include "core/errors.h"
#include "support/file_size_limit.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

// Output devices as the port model lists them; nothing here opens one.
class ListedDevices final : public MidiDeviceCatalog {
 public:
  explicit ListedDevices(std::vector<std::optional<std::string>> names) : names_(std::move(names)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return names_; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry&) override { return nullptr; }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return nullptr; }

 private:
  std::vector<std::optional<std::string>> names_;
};

struct AppFolders {
  AppFolders() { std::filesystem::create_directory(dir.Path() / "run"); }
  StartupPlaces Places() const { return {dir.Path() / "run", dir.Path() / "velvasto.ini"}; }
  test::TempDir dir;
  ListedDevices devices{{"Synth A", "Synth B", std::nullopt, "USB MIDI"}};
};

// Runs `action` and returns the text of the CErrMessage it throws ("" when none).
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const CErrMessage& e) {
    return e.Message();
  }
  return "";
}

TEST(VelvastoAppTest, TheFirstStartReadsItsCommandLineAndSettingsALaterOneHandsOverSavingWritesThem) {
  AppFolders folders;
  folders.dir.Write("velvasto.ini",
                    "[Velvasto]\nLoop Mode=2\nTimer Period=50\nMIDI Port Num=2\nMIDI Port A=USB MIDI\n"
                    "MIDI Port B=Synth A\nPort Set Use=1\nPort Set Num=1\n");
  const auto song = folders.dir.Write("a.mid", test::SmfBuilder(1, 480).Build());
  CVelvastoApp app;
  const std::vector<std::string> arguments{"/P2", song.string(), "/Commit"};
  ASSERT_EQ(app.Start(arguments, folders.devices, folders.Places()), CVelvastoApp::StartResult::Primary);
  EXPECT_EQ(app.openRequest, (OpenRequest{.playMode = 1, .paths = {song}}));
  EXPECT_TRUE(app.installFlag && app.settings.loopMode == 2 && app.portSets.SetsInUse() == 1);
  EXPECT_EQ(app.timerPeriods.period, 20u) << "brought down to the upper bound";
  EXPECT_EQ(app.activePort.PortAName() + "/" + app.defaultPort.PortBName(), "USB MIDI/Synth A");

  std::mutex mutex;
  std::vector<OpenRequest> received;
  app.ListenForRequests([&](OpenRequest request) {
    const std::lock_guard lock(mutex);
    received.push_back(std::move(request));
  });
  CVelvastoApp second;
  const std::vector<std::string> later{"-l", song.string()};
  EXPECT_EQ(second.Start(later, folders.devices, folders.Places()), CVelvastoApp::StartResult::HandedOver);
  const std::lock_guard lock(mutex);  // acknowledged, so already taken
  EXPECT_EQ(received, (std::vector<OpenRequest>{OpenRequest{.singleRepeat = 1, .paths = {song}}}));

  app.settings.ddMode = 1;
  app.timerPeriods.period = 7;
  app.SaveSettings();
  const std::string saved = test::ReadWholeFile(folders.dir.Path() / "velvasto.ini");
  EXPECT_NE(saved.find("\nDD Mode=1\n"), std::string::npos);
  EXPECT_NE(saved.find("\nTimer Period=7\n"), std::string::npos);
  app.timerPeriods.period = 9;
  const test::FileSizeLimit limit(16);
  EXPECT_EQ(ErrorOf([&] { app.SaveSettings(); }), "INIファイルにセーブできません。");
}

TEST(VelvastoAppTest, StartUpErrorsCarryTheirTextsComeBeforeTheInstanceIsDecidedAndThePeriodKeepsToTheDevicesBounds) {
  AppFolders folders;
  CVelvastoApp app;
  const std::vector<std::string> arguments{"/D1", "/D2"};
  EXPECT_EQ(ErrorOf([&] { app.Start(arguments, folders.devices, folders.Places()); }),
            "コマンドライン引数 /D1,/D2 は重複して指定できません。");
  EXPECT_FALSE(app.IsPrimary());
  EXPECT_TRUE(std::filesystem::is_empty(folders.dir.Path() / "run"));
  ListedDevices none({std::nullopt});
  EXPECT_EQ(ErrorOf([&] { CVelvastoApp().Start({}, none, folders.Places()); }), "MIDIデバイス情報の取得に失敗しました。");

  folders.dir.Write("velvasto.ini", "[Velvasto]\nTimer Period=0\n");
  CVelvastoApp clamped;
  clamped.Start({}, folders.devices, folders.Places(), {2, 40});
  EXPECT_EQ(clamped.timerPeriods.maximum, 20u);
  EXPECT_EQ(clamped.timerPeriods.period, 2u) << "brought up to the device's minimum";
}

}  // namespace
}  // namespace velvasto
