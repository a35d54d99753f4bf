#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/velvasto_app.h"
#include "app/window_origin.h"
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

TEST(VelvastoAppTest, TheFirstStartReadsItsCommandLineAndSettings) {
  AppFolders folders;
  folders.dir.Write("velvasto.ini",
                    "[Velvasto]\nLoop Mode=2\nVolume Value=90\nTimer Period=50\n"
                    "MIDI Port Num=2\nMIDI Port A=USB MIDI\nMIDI Port B=Synth A\n"
                    "Port Set Use=1\nPort Set Num=1\nPort Set LABEL 0=Roland\nPort Set Scan String 0=SC88\n");
  const auto song = folders.dir.Write("a.mid", test::SmfBuilder(1, 480).Build());
  CVelvastoApp app;
  const std::vector<std::string> arguments{"/P2", song.string(), "/Commit"};
  ASSERT_EQ(app.Start(arguments, folders.devices, folders.Places()), CVelvastoApp::StartResult::Primary);
  EXPECT_TRUE(app.IsPrimary());
  EXPECT_EQ(app.openRequest.playMode, 1);
  EXPECT_EQ(app.openRequest.paths, std::vector<std::filesystem::path>{song});
  EXPECT_TRUE(app.installFlag);
  EXPECT_FALSE(app.uninstallFlag);
  EXPECT_EQ(app.settings.loopMode, 2);
  EXPECT_EQ(app.settings.volumeValue, 90);
  EXPECT_EQ(app.settings.rcpLoopLimit, 255);
  EXPECT_EQ(app.timerPeriods.period, 20u);  // brought down to the upper bound
  EXPECT_EQ(app.activePort.PortCount(), 2);
  EXPECT_EQ(app.activePort.PortAName(), "USB MIDI");
  EXPECT_EQ(app.activePort.PortBName(), "Synth A");
  EXPECT_EQ(app.defaultPort.PortAName(), "USB MIDI");
  EXPECT_EQ(app.defaultPort.PortBName(), "Synth A");
  EXPECT_TRUE(app.portSets.Use());
  ASSERT_EQ(app.portSets.SetsInUse(), 1);
  EXPECT_EQ(app.portSets.Set(0).Label(), "Roland");
  EXPECT_EQ(app.playState, PlayState::Stopped);
}

TEST(VelvastoAppTest, TheTimerPeriodIsKeptInsideTheDeviceRange) {
  AppFolders folders;
  folders.dir.Write("velvasto.ini", "[Velvasto]\nTimer Period=0\n");
  CVelvastoApp app;
  app.Start({}, folders.devices, folders.Places(), {2, 40});
  EXPECT_EQ(app.timerPeriods.minimum, 2u);
  EXPECT_EQ(app.timerPeriods.maximum, 20u);
  EXPECT_EQ(app.timerPeriods.period, 2u);

  CVelvastoApp defaults;
  AppFolders other;
  defaults.Start({}, other.devices, other.Places());
  EXPECT_EQ(defaults.timerPeriods.period, 5u);
}

TEST(VelvastoAppTest, AMachineWithoutOutputDevicesFailsStartUpWith63002) {
  AppFolders folders;
  ListedDevices none({std::nullopt});
  CVelvastoApp app;
  try {
    app.Start({}, none, folders.Places());
    FAIL() << "start-up went on without a device";
  } catch (const CErrMessage& e) {
    EXPECT_EQ(e.Message(), "MIDIデバイス情報の取得に失敗しました。");
  }
}

TEST(VelvastoAppTest, ACommandLineErrorEndsStartUpBeforeTheInstanceIsDecided) {
  AppFolders folders;
  CVelvastoApp app;
  const std::vector<std::string> arguments{"/D1", "/D2"};
  try {
    app.Start(arguments, folders.devices, folders.Places());
    FAIL() << "the conflict was accepted";
  } catch (const CErrMessage& e) {
    EXPECT_EQ(e.Message(), "コマンドライン引数 /D1,/D2 は重複して指定できません。");
  }
  EXPECT_FALSE(app.IsPrimary());
  EXPECT_TRUE(std::filesystem::is_empty(folders.dir.Path() / "run"));
}

TEST(VelvastoAppTest, ALaterStartHandsItsRequestToTheRunningOne) {
  AppFolders folders;
  const auto song = folders.dir.Write("b.mid", test::SmfBuilder(0, 480).Build());
  CVelvastoApp first;
  ASSERT_EQ(first.Start({}, folders.devices, folders.Places()), CVelvastoApp::StartResult::Primary);
  std::mutex mutex;
  std::vector<OpenRequest> received;
  first.ListenForRequests([&](OpenRequest request) {
    const std::lock_guard lock(mutex);
    received.push_back(std::move(request));
  });

  CVelvastoApp second;
  const std::vector<std::string> arguments{"-l", song.string()};
  EXPECT_EQ(second.Start(arguments, folders.devices, folders.Places()), CVelvastoApp::StartResult::HandedOver);
  EXPECT_FALSE(second.IsPrimary());
  const std::lock_guard lock(mutex);
  ASSERT_EQ(received.size(), 1u);  // acknowledged, so already taken
  EXPECT_EQ(received[0].singleRepeat, 1);
  EXPECT_EQ(received[0].paths, std::vector<std::filesystem::path>{song});
}

TEST(VelvastoAppTest, SaveSettingsWritesTheBlockAndTimerPeriodOrRaises62012) {
  AppFolders folders;
  CVelvastoApp app;
  app.Start({}, folders.devices, folders.Places());
  app.settings.ddMode = 1;
  app.timerPeriods.period = 7;
  app.SaveSettings();
  const std::string saved = test::ReadWholeFile(folders.dir.Path() / "velvasto.ini");
  EXPECT_NE(saved.find("DD Mode=1"), std::string::npos);
  EXPECT_NE(saved.find("Timer Period=7"), std::string::npos);

  app.timerPeriods.period = 9;
  const test::FileSizeLimit limit(16);
  try {
    app.SaveSettings();
    FAIL() << "a failed write was not reported";
  } catch (const CErrMessage& e) {
    EXPECT_EQ(e.Message(), "INIファイルにセーブできません。");
  }
}

TEST(WindowOriginTest, PosShiftIsAddedToTheTopWhenPresentAndNotMinusOne) {
  test::TempDir dir;
  CINIFile settings;
  CINIFile::SetSettingsPath(dir.Path() / "v.ini");
  dir.Write("v.ini", "[Velvasto]\nPOS-X=30\nPOS-Y=100\nPOSSHIFT=20\n");
  EXPECT_EQ(ReadWindowOrigin(settings).left, 30);
  EXPECT_EQ(ReadWindowOrigin(settings).top, 120);
  dir.Write("v.ini", "[Velvasto]\nPOS-Y=100\nPOSSHIFT=-1\n");
  EXPECT_EQ(ReadWindowOrigin(settings).top, 100);
  dir.Write("v.ini", "[Velvasto]\nPOS-Y=100\nPOSSHIFT=0\n");
  EXPECT_EQ(ReadWindowOrigin(settings).top, 100);
  dir.Write("v.ini", "");
  EXPECT_EQ(ReadWindowOrigin(settings).left, 0);
  EXPECT_EQ(ReadWindowOrigin(settings).top, 0);

  WriteWindowOrigin(settings, {-8, 64});
  EXPECT_EQ(test::ReadWholeFile(dir.Path() / "v.ini"), "[Velvasto]\nPOS-X=-8\nPOS-Y=64\n");
  const test::FileSizeLimit limit(4);
  try {
    WriteWindowOrigin(settings, {1, 2});
    FAIL() << "a failed write was not reported";
  } catch (const CErrMessage& e) {
    EXPECT_EQ(e.Message(), "INIファイルにセーブできません。");
  }
}

}  // namespace
}  // namespace velvasto
