#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "core/cini_file.h"
#include "core/errors.h"
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
  std::string SettingsText() const { return test::ReadWholeFile(CINIFile::SettingsPath()); }

  test::TempDir dir_;
  CINIFile settings_;
};

TEST_F(SettingsTest, MissingFoldersAreMadeAndUnreadableFilesKept) {
  CINIFile::SetSettingsPath(dir_.Path() / "config" / "velvasto.ini");
  ASSERT_TRUE(settings_.WriteInt("Volume Value", 100));
  EXPECT_EQ(SettingsText(), "[Velvasto]\nVolume Value=100\n");

  CINIFile::SetSettingsPath(dir_.Path() / "config");  // exists, but is no readable file
  EXPECT_FALSE(settings_.WriteInt("POS-X", 1));
  EXPECT_TRUE(fs::is_regular_file(dir_.Path() / "config" / "velvasto.ini"));
}

TEST_F(SettingsTest, WritesFromTwoThreadsAreNotLost) {
  auto writeKeys = [](char prefix) {
    CINIFile own;
    for (int i = 0; i < 20; ++i) own.WriteInt(std::string(1, prefix) + std::to_string(i), i);
  };
  {
    const std::jthread first(writeKeys, 'a'), second(writeKeys, 'b');
  }
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(settings_.ReadInt("a" + std::to_string(i), -1), i);
    EXPECT_EQ(settings_.ReadInt("b" + std::to_string(i), -1), i);
  }
}

TEST_F(SettingsTest, BlockLoadsDefaultsAndSavesEveryKeyInLoadOrder) {
  SettingsBlock block;
  block.rcpLoopLimit = 1;
  block.Load(settings_);  // no file: every field takes its default
  block.Save(settings_);
  EXPECT_EQ(SettingsText(),
            "[Velvasto]\n"
            "Monitor Port=0\nMonitor Mode=0\nCM6 Port=1\nGSD Port=1\nGSD2 Port=0\nLoop Mode=0\nDD Mode=0\n"
            "Map Mode=0\nForce Map=0\n55 Adjust=0\nRCP Loop Limit=255\nCM Reset Send=0\nGS Reset Send=0\n"
            "XG System On Send=0\nGM1 System On Send=0\nGM2 System On Send=0\n8850 Fix=0\nVolume Value=127\n"
            "SC-55 MAP Scan String=55\nSC-88 MAP Scan String=88N\nSC-88Pro MAP Scan String=88P\n");
}

TEST_F(SettingsTest, BlockReadsEachKeyIntoTheFieldItWritesBack) {
  // Every value differs from its default; Save rewrites each line in place, so a key that Load
  // missed comes back with its default.
  const std::string text =
      "; mine\r\n[Other]\r\nLoop Mode=9\r\n[velvasto]\r\nSC-88Pro MAP Scan String=P\r\nSC-88 MAP Scan String=N\r\n"
      "SC-55 MAP Scan String=S\r\nVolume Value=90\r\n8850 Fix=1\r\nGM2 System On Send=2\r\nGM1 System On Send=3\r\n"
      "XG System On Send=4\r\nGS Reset Send=5\r\nCM Reset Send=6\r\nRCP Loop Limit=7\r\n55 Adjust=8\r\nForce Map=9\r\n"
      "Map Mode=10\r\nDD Mode=11\r\nLoop Mode=12\r\nGSD2 Port=13\r\nGSD Port=14\r\nCM6 Port=15\r\nMonitor Mode=16\r\n"
      "Monitor Port=17\r\n";
  dir_.Write("velvasto.ini", text);
  SettingsBlock block;
  block.Load(settings_);
  EXPECT_EQ(block.loopMode, 12);
  block.Save(settings_);
  EXPECT_EQ(SettingsText(), text);
}

// Bytes this process has read from files so far (its I/O accounting), or -1 when the system
// does not tell.
long long BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string name;
  long long value = -1;
  while (io >> name >> value) {
    if (name == "rchar:") return value;
  }
  return -1;
}

TEST_F(SettingsTest, ALoadReadsTheFileOnceAndSeesItsOwnWrites) {
  const std::string padding = "; " + std::string(1 << 20, '-') + "\n";
  dir_.Write("velvasto.ini", "[Velvasto]\nVolume Value=90\n" + padding);
  const long long before = BytesReadSoFar();
  if (before < 0) GTEST_SKIP() << "no I/O accounting";
  SettingsBlock block;
  block.Load(settings_);
  EXPECT_EQ(block.volumeValue, 90);
  EXPECT_LT(BytesReadSoFar() - before, 2 * static_cast<long long>(padding.size())) << "21 keys, one reading";

  const CINIFile::LoadScope scope;
  EXPECT_EQ(settings_.ReadInt("Volume Value", 0), 90);
  ASSERT_TRUE(settings_.WriteInt("Volume Value", 80));
  EXPECT_EQ(settings_.ReadInt("Volume Value", 0), 80);
  EXPECT_TRUE(SettingsText().starts_with("[Velvasto]\nVolume Value=80\n"));
  CINIFile::SetSettingsPath(dir_.Path() / "other.ini");
  EXPECT_EQ(settings_.ReadInt("Volume Value", 0), 0) << "another file, read afresh";
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
  EXPECT_EQ(settings_.ReadInt("Volume Value", -1), 127);
  EXPECT_EQ(settings_.ReadString("SC-88 MAP Scan String", "absent"), "absent");
}

}  // namespace
}  // namespace velvasto
