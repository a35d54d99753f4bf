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

TEST(FileTypeTest, RecognisesEachFamilyByItsWholeMagic) {
  test::TempDir dir;
  EXPECT_EQ(TypeOf(dir, "MThd\0\0\0\6"s), FileType::Smf);
  EXPECT_EQ(TypeOf(dir, "RCM-PC98V2.0(C)COME ON MUSIC\r\n"), FileType::Rcp);
  EXPECT_EQ(TypeOf(dir, "COME ON MUSIC RECOMPOSER RCP3.0\0\0"s), FileType::G36);
  EXPECT_EQ(TypeOf(dir, "COME ON MUSIC RECOMPOSER RCP3.0X"), FileType::Unknown) << "the magic ends in a zero";
  EXPECT_EQ(TypeOf(dir, "[Velvasto List File Version 2.0]\r\n"), FileType::List);
  EXPECT_EQ(TypeOf(dir, "[Velvasto List File Version 3.0]\r\n"), FileType::List);
  EXPECT_EQ(TypeOf(dir, "MTh"), FileType::Unknown);
  TypeProbe missing(dir.Path() / "missing.mid");
  EXPECT_THROW(missing.Detect(), CSystemErrMessage);
}

TEST(FileTypeTest, SmfIsFoundOnlyAtTheThreeWrapperOffsets) {
  auto wrapperOf = [](std::string bytes) {
    SmfWrapper wrapper;
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    EXPECT_TRUE(IsStandardMidiFile(f, &wrapper));
    std::fclose(f);
    return wrapper;
  };
  const SmfWrapper riff = wrapperOf("RIFF\0\0\0\0RMIDdata\0\0\0\0MThd"s);
  EXPECT_TRUE(riff.riff && !riff.macBinary && riff.offset == 20);
  const SmfWrapper mac = wrapperOf(std::string(128, 'x') + "MThd");
  EXPECT_TRUE(!mac.riff && mac.macBinary && mac.offset == 128);
  test::TempDir dir;
  EXPECT_EQ(TypeOf(dir, "RIFF\0\0\0\0RMIDLIST\0\0\0\0\0MThd"s), FileType::Unknown) << "data chunk not at 20";
}

TEST(MapScanTest, PrefersTheLaterModelsAndIgnoresCase) {
  EXPECT_EQ(MapScan("/songs/sc88n/a.mid", "55", "88N", "88P"), 2u);
  EXPECT_EQ(MapScan("/songs/x55/a.mid", "55", "88N", "88P"), 1u);
  EXPECT_EQ(MapScan("/songs/x55-88p/a.mid", "55", "88N", "88P"), 3u);
  EXPECT_EQ(MapScan("/songs/gm/a.mid", "55", "88N", "88P"), 0u);
}

}  // namespace
}  // namespace velvasto
