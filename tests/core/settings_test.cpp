#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/cini_file.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "core/settings_block.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

// Points the process's settings at a file in a fresh folder, and at nothing afterwards.
class SettingsTest : public testing::Test {
 protected:
  SettingsTest() { CINIFile::SetSettingsPath(dir_.Path() / "velvasto.ini"); }
  ~SettingsTest() override { CINIFile::SetSettingsPath({}); }

  fs::path Path() const { return CINIFile::SettingsPath(); }
  void WriteSettings(std::string_view text) const { dir_.Write("velvasto.ini", text); }
  std::string SettingsText() const { return test::ReadWholeFile(Path()); }

  test::TempDir dir_;
  CINIFile settings_;
};

TEST_F(SettingsTest, WritesGoToSectionVelvastoAndKeepTheRestOfTheFile) {
  WriteSettings("; mine\r\n[Other]\r\nTimer Period=9\r\n[velvasto]\r\nTimer Period=7\r\n");
  EXPECT_EQ(settings_.ReadInt("timer period", 5), 7);
  ASSERT_TRUE(settings_.WriteInt("Timer Period", -20));
  ASSERT_TRUE(settings_.WriteString("MIDI Port A", "MIDI_MAPPER"));
  EXPECT_EQ(SettingsText(),
            "; mine\r\n[Other]\r\nTimer Period=9\r\n[velvasto]\r\nTimer Period=-20\r\nMIDI Port A=MIDI_MAPPER\r\n");
  EXPECT_EQ(settings_.ReadString("MIDI Port A", "NO_PORT"), "MIDI_MAPPER");
  EXPECT_EQ(settings_.ReadString("MIDI Port B", "NO_PORT"), "NO_PORT");
}

TEST_F(SettingsTest, WithoutASettingsPathWritesStoreNothingAndSucceed) {
  CINIFile::SetSettingsPath({});
  EXPECT_TRUE(settings_.WriteInt("POS-X", 3));
  EXPECT_TRUE(settings_.WriteString("List File Folder", "/tmp"));
  EXPECT_EQ(settings_.ReadInt("POS-X", 0), 0);
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(SettingsTest, MissingFoldersOfTheSettingsPathAreCreated) {
  CINIFile::SetSettingsPath(dir_.Path() / "config" / "velvasto" / "velvasto.ini");
  ASSERT_TRUE(settings_.WriteInt("Volume Value", 100));
  EXPECT_EQ(SettingsText(), "[Velvasto]\nVolume Value=100\n");
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsNotOverwritten) {
  fs::create_directories(Path() / "sub");  // exists, but is no readable file
  EXPECT_FALSE(settings_.WriteInt("POS-X", 1));
  EXPECT_TRUE(fs::is_directory(Path() / "sub"));
  EXPECT_EQ(settings_.ReadInt("POS-X", 4), 4);
}

TEST_F(SettingsTest, WritesFromTwoThreadsAreNotLost) {
  constexpr int kKeysPerThread = 20;
  auto writeKeys = [this](char prefix) {
    CINIFile own;
    for (int i = 0; i < kKeysPerThread; ++i) own.WriteInt(std::string(1, prefix) + std::to_string(i), i);
  };
  std::thread first(writeKeys, 'a');
  std::thread second(writeKeys, 'b');
  first.join();
  second.join();
  for (int i = 0; i < kKeysPerThread; ++i) {
    EXPECT_EQ(settings_.ReadInt("a" + std::to_string(i), -1), i);
    EXPECT_EQ(settings_.ReadInt("b" + std::to_string(i), -1), i);
  }
}

// The settings block as Save writes it into an empty file: every key in load order.
constexpr std::string_view kDefaultBlockText =
    "[Velvasto]\n"
    "Monitor Port=0\nMonitor Mode=0\nCM6 Port=1\nGSD Port=1\nGSD2 Port=0\nLoop Mode=0\nDD Mode=0\n"
    "Map Mode=0\nForce Map=0\n55 Adjust=0\nRCP Loop Limit=255\nCM Reset Send=0\nGS Reset Send=0\n"
    "XG System On Send=0\nGM1 System On Send=0\nGM2 System On Send=0\n8850 Fix=0\nVolume Value=127\n"
    "SC-55 MAP Scan String=55\nSC-88 MAP Scan String=88N\nSC-88Pro MAP Scan String=88P\n";

TEST_F(SettingsTest, BlockLoadsItsDefaultsAndSavesEveryKeyInLoadOrder) {
  SettingsBlock block;
  block.rcpLoopLimit = 1;
  block.cm6Port = 0;
  block.sc88Scan = "changed";
  block.Load(settings_);  // no file: every field takes its default
  block.Save(settings_);
  EXPECT_EQ(SettingsText(), kDefaultBlockText);
}

TEST_F(SettingsTest, BlockReadsEachKeyIntoItsFieldAndLeavesPosShiftAlone) {
  WriteSettings(
      "[Velvasto]\nPOSSHIFT=0\nSC-88Pro MAP Scan String=P\nSC-88 MAP Scan String=N\nSC-55 MAP Scan String=S\n"
      "Volume Value=90\n8850 Fix=1\nGM2 System On Send=1\nRCP Loop Limit=3\n55 Adjust=1\nForce Map=2\n"
      "Map Mode=1\nDD Mode=1\nLoop Mode=2\nGSD2 Port=2\nGSD Port=0\nCM6 Port=2\nMonitor Mode=1\n");
  SettingsBlock block;
  block.Load(settings_);
  EXPECT_EQ(std::vector<int>({block.monitorPort, block.monitorMode, block.cm6Port, block.gsdPort, block.gsd2Port,
                              block.loopMode, block.ddMode, block.mapMode, block.forceMap, block.adjust55,
                              block.rcpLoopLimit, block.cmResetSend, block.gm2SystemOnSend, block.fix8850,
                              block.volumeValue}),
            std::vector<int>({0, 1, 2, 0, 2, 2, 1, 1, 2, 1, 3, 0, 1, 1, 90}));
  EXPECT_EQ(block.sc55Scan + block.sc88Scan + block.sc88ProScan, "SNP");

  block.Save(settings_);
  const std::string text = SettingsText();
  EXPECT_TRUE(text.starts_with("[Velvasto]\nPOSSHIFT=0\n")) << text;
  EXPECT_EQ(text.find("POSSHIFT", 12), std::string::npos) << "POSSHIFT is never written";
  EXPECT_NE(text.find("\nGM1 System On Send=0\n"), std::string::npos) << "missing keys are added";
}

TEST_F(SettingsTest, FirstFailedBlockWriteRaises62012AndStopsTheRest) {
  SettingsBlock block;
  block.sc55Scan = "two\nlines";  // a value the file cannot hold
  try {
    block.Save(settings_);
    FAIL() << "no error raised";
  } catch (const CErrMessage& error) {
    EXPECT_EQ(error.Code(), errc::kIniSaveFailed);
    EXPECT_EQ(error.Message(), "INIファイルにセーブできません。");
  }
  const IniFile file = [&] {
    IniFile loaded(Path());
    loaded.Load();
    return loaded;
  }();
  EXPECT_EQ(file.GetInt("Velvasto", "Volume Value", -1), 127);
  EXPECT_EQ(file.GetString("Velvasto", "SC-88 MAP Scan String", "absent"), "absent");
  EXPECT_EQ(file.GetString("Velvasto", "SC-88Pro MAP Scan String", "absent"), "absent");
}

}  // namespace
}  // namespace velvasto
