#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "core/file_type.h"
#include "core/map_scan.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using namespace std::string_literals;

FileType TypeOf(const test::TempDir& dir, const std::string& bytes) {
  TypeProbe probe(dir.Write("probe.bin", bytes));
  return probe.Detect();
}

TEST(FileTypeTest, RecognisesEachFamilyByItsMagic) {
  test::TempDir dir;
  EXPECT_EQ(TypeOf(dir, "MThd\0\0\0\6"s), FileType::Smf);
  EXPECT_EQ(TypeOf(dir, "RCM-PC98V2.0(C)COME ON MUSIC\r\n"), FileType::Rcp);
  EXPECT_EQ(TypeOf(dir, std::string("COME ON MUSIC RECOMPOSER RCP3.0\0\0", 33)), FileType::G36);
  EXPECT_EQ(TypeOf(dir, "[Velvasto List File Version 2.0]\r\n"), FileType::List);
  EXPECT_EQ(TypeOf(dir, "[Velvasto List File Version 3.0]\r\n"), FileType::List);
  EXPECT_EQ(TypeOf(dir, "MTh"), FileType::Unknown);
  EXPECT_EQ(TypeOf(dir, ""), FileType::Unknown);
}

TEST(FileTypeTest, Rcp3MagicIncludesItsTerminatingZero) {
  test::TempDir dir;
  EXPECT_EQ(TypeOf(dir, "COME ON MUSIC RECOMPOSER RCP3.0X"), FileType::Unknown);
  EXPECT_EQ(TypeOf(dir, "COME ON MUSIC RECOMPOSER RCP3.0"), FileType::Unknown);
}

TEST(FileTypeTest, SmfIsFoundOnlyAtTheThreeWrapperOffsets) {
  test::TempDir dir;
  std::string riff = "RIFF\0\0\0\0RMIDdata\0\0\0\0MThd"s;
  ASSERT_EQ(riff.size(), 24u);
  std::string macBinary = std::string(128, 'x') + "MThd";
  std::string shifted = "RIFF\0\0\0\0RMIDLIST\0\0\0\0\0MThd"s;  // data chunk not at 20

  SmfWrapper wrapper;
  {
    auto path = dir.Write("riff.rmi", riff);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(IsStandardMidiFile(f, &wrapper));
    std::fclose(f);
    EXPECT_TRUE(wrapper.riff);
    EXPECT_FALSE(wrapper.macBinary);
    EXPECT_EQ(wrapper.offset, 20);
  }
  {
    auto path = dir.Write("mac.mid", macBinary);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(IsStandardMidiFile(f, &wrapper));
    std::fclose(f);
    EXPECT_TRUE(wrapper.macBinary);
    EXPECT_FALSE(wrapper.riff);
    EXPECT_EQ(wrapper.offset, 128);
  }
  EXPECT_EQ(TypeOf(dir, shifted), FileType::Unknown);
}

TEST(FileTypeTest, ProbeDetectsOnceAndReportsUnopenableFiles) {
  test::TempDir dir;
  TypeProbe probe(dir.Write("a.mid", std::string("MThd")));
  EXPECT_EQ(probe.Detect(), FileType::Smf);
  std::filesystem::remove(probe.Path());
  EXPECT_EQ(probe.Detect(), FileType::Smf);  // not read again

  TypeProbe missing(dir.Path() / "missing.mid");
  EXPECT_THROW(missing.Detect(), CSystemErrMessage);
}

TEST(MapScanTest, PrefersTheLaterModelsAndIgnoresCase) {
  EXPECT_EQ(MapScan("/songs/88P/a.mid", "55", "88N", "88P"), 3u);
  EXPECT_EQ(MapScan("/songs/sc88n/a.mid", "55", "88N", "88P"), 2u);
  EXPECT_EQ(MapScan("/songs/x55/a.mid", "55", "88N", "88P"), 1u);
  EXPECT_EQ(MapScan("/songs/x55-88p/a.mid", "55", "88N", "88P"), 3u);
  EXPECT_EQ(MapScan("/songs/gm/a.mid", "55", "88N", "88P"), 0u);
}

}  // namespace
}  // namespace velvasto
