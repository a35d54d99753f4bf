#include <gtest/gtest.h>

#include <string>
#include <thread>

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

constexpr const char* kBlockKeysInOrder[] = {
    "Monitor Port",      "Monitor Mode",       "CM6 Port",           "GSD Port",
    "GSD2 Port",         "Loop Mode",          "DD Mode",            "Map Mode",
    "Force Map",         "55 Adjust",          "RCP Loop Limit",     "CM Reset Send",
    "GS Reset Send",     "XG System On Send",  "GM1 System On Send", "GM2 System On Send",
    "8850 Fix",          "Volume Value",       "SC-55 MAP Scan String", "SC-88 MAP Scan String",
    "SC-88Pro MAP Scan String",
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

TEST_F(SettingsTest, BlockDefaultsComeFromTheTableWhenTheFileIsMissing) {
  SettingsBlock block;
  block.rcpLoopLimit = 1;
  block.sc88Scan = "changed";
  block.Load(settings_);
  EXPECT_EQ(block.monitorPort, 0);
  EXPECT_EQ(block.monitorMode, 0);
  EXPECT_EQ(block.cm6Port, 1);
  EXPECT_EQ(block.gsdPort, 1);
  EXPECT_EQ(block.gsd2Port, 0);
  EXPECT_EQ(block.loopMode, 0);
  EXPECT_EQ(block.ddMode, 0);
  EXPECT_EQ(block.mapMode, 0);
  EXPECT_EQ(block.forceMap, 0);
  EXPECT_EQ(block.adjust55, 0);
  EXPECT_EQ(block.rcpLoopLimit, 255);
  EXPECT_EQ(block.cmResetSend + block.gsResetSend + block.xgSystemOnSend + block.gm1SystemOnSend +
                block.gm2SystemOnSend + block.fix8850,
            0);
  EXPECT_EQ(block.volumeValue, 127);
  EXPECT_EQ(block.sc55Scan, "55");
  EXPECT_EQ(block.sc88Scan, "88N");
  EXPECT_EQ(block.sc88ProScan, "88P");
}

TEST_F(SettingsTest, BlockIsWrittenInLoadOrderAndReadBack) {
  WriteSettings("[Velvasto]\nPOSSHIFT=0\n");
  SettingsBlock written;
  int value = 1;
  for (int* field : {&written.monitorPort, &written.monitorMode, &written.cm6Port, &written.gsdPort, &written.gsd2Port,
                     &written.loopMode, &written.ddMode, &written.mapMode, &written.forceMap, &written.adjust55,
                     &written.rcpLoopLimit, &written.cmResetSend, &written.gsResetSend, &written.xgSystemOnSend,
                     &written.gm1SystemOnSend, &written.gm2SystemOnSend, &written.fix8850, &written.volumeValue}) {
    *field = value++;
  }
  written.sc55Scan = "s55";
  written.sc88Scan = "s88";
  written.sc88ProScan = "s88pro";
  written.Save(settings_);

  std::string expected = "[Velvasto]\nPOSSHIFT=0\n";
  value = 1;
  for (const char* key : kBlockKeysInOrder) {
    if (value <= 18) expected += std::string(key) + "=" + std::to_string(value++) + "\n";
  }
  expected += "SC-55 MAP Scan String=s55\nSC-88 MAP Scan String=s88\nSC-88Pro MAP Scan String=s88pro\n";
  EXPECT_EQ(SettingsText(), expected) << "POSSHIFT is kept as it was and no other key is written";

  SettingsBlock read;
  read.Load(settings_);
  EXPECT_EQ(read.monitorPort, 1);
  EXPECT_EQ(read.cm6Port, 3);
  EXPECT_EQ(read.rcpLoopLimit, 11);
  EXPECT_EQ(read.volumeValue, 18);
  EXPECT_EQ(read.sc88ProScan, "s88pro");
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
