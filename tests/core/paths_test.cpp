#include "core/paths.h"

#include <gtest/gtest.h>

#include "core/version_info.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

TEST(PathsTest, ExecutablePathIsThisProgram) {
  const fs::path self = ExecutablePath();
  EXPECT_TRUE(self.is_absolute());
  EXPECT_EQ(self.filename(), "velvasto_core_tests");
  EXPECT_TRUE(fs::is_regular_file(self));
}

TEST(PathsTest, FindFileTakesTheFirstRegularFileInNameOrder) {
  test::TempDir dir;
  dir.Write("b.mid", "");
  dir.Write("a.mid", "");
  dir.Write("z[x] song.mid", "");
  fs::create_directories(dir.Path() / "0.mid");
  const std::string folder = dir.Path().string();

  EXPECT_EQ(FindFile(folder + "/*.mid"), dir.Path() / "a.mid") << "the folder 0.mid is not a file";
  EXPECT_EQ(FindFile(folder + "/?.mid"), dir.Path() / "a.mid");
  EXPECT_EQ(FindFile(folder + "/./b.mid"), dir.Path() / "b.mid");
  EXPECT_EQ(FindFile(folder + "/z[x] song.mid"), dir.Path() / "z[x] song.mid") << "brackets are no wild cards";
  EXPECT_EQ(FindFile(folder + "/z[x]*"), dir.Path() / "z[x] song.mid");
  EXPECT_EQ(FindFile(folder + "/x*"), std::nullopt);
  EXPECT_EQ(FindFile(folder + "/0.mid"), std::nullopt);
  EXPECT_EQ(FindFile(""), std::nullopt);
}

TEST(VersionInfoTest, NamedStringsOfTheBuild) {
  EXPECT_EQ(VersionString("ProductName"), "Velvasto");
  EXPECT_EQ(VersionString("FileVersion"), "4.13");
  EXPECT_FALSE(VersionString("Comments").empty());
  EXPECT_NE(VersionString("LegalCopyright").find("Copyright"), std::string::npos);
  EXPECT_EQ(VersionString("fileversion"), "");
  EXPECT_EQ(VersionString("InternalName"), "");
}

}  // namespace
}  // namespace velvasto
