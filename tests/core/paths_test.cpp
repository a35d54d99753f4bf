#include "core/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/settings_location.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

TEST(PathsTest, ExecutablePathIsThisProgram) {
  EXPECT_EQ(ExecutablePath().filename(), "velvasto_core_tests");
}

TEST(PathsTest, FindFileTakesTheFirstRegularFileInNameOrder) {
  test::TempDir dir;
  dir.Write("b.mid", "");
  dir.Write("a.mid", "");
  dir.Write("z[x] song.mid", "");
  fs::create_directories(dir.Path() / "0.mid");
  const std::string folder = dir.Path().string();

  EXPECT_EQ(FindFile(folder + "/*.mid"), dir.Path() / "a.mid") << "the folder 0.mid is not a file";
  EXPECT_EQ(FindFile(folder + "/z[x] song.mid"), dir.Path() / "z[x] song.mid") << "brackets are no wild cards";
  EXPECT_EQ(FindFile(folder + "/z[x]?song*"), dir.Path() / "z[x] song.mid");
  EXPECT_EQ(FindFile(folder + "/x*"), std::nullopt);
  EXPECT_EQ(FindFile(""), std::nullopt);
}

// A name from a list file must not turn into a walk through the file system: wild cards in the
// folders before the file name are plain characters there.
TEST(PathsTest, FindFileTakesWildCardsOnlyInTheFileNameOfTheNamedFolder) {
  test::TempDir dir;
  fs::create_directories(dir.Path() / "sub");
  dir.Write("sub/song.mid", "");
  dir.Write("sub/曲x.mid", "");
  dir.Write("sub/.hidden.mid", "");
  const std::string folder = dir.Path().string();
  const std::pair<std::string, std::optional<fs::path>> cases[] = {
      {"/*/*/*/*/*/*/*/*/*", std::nullopt},  // once a walk through the whole file system
      {folder + "/*/song.mid", std::nullopt},
      {folder + "/s?b/song.mid", std::nullopt},
      {folder + "/sub/?x.mid", dir.Path() / "sub/曲x.mid"},  // one character, not one byte
      {folder + "/sub/*o*g*.mid", dir.Path() / "sub/song.mid"},
      {folder + "/sub/*hidden.mid", std::nullopt},
      {folder + "/sub/.*", dir.Path() / "sub/.hidden.mid"},
      {folder + "/sub/../sub/song.*", dir.Path() / "sub/song.mid"},
  };
  for (const auto& [pattern, found] : cases) EXPECT_EQ(FindFile(pattern), found) << pattern;
}

// Sets (or, given nullptr, unsets) an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { previous_ ? setenv(name_, previous_->c_str(), 1) : unsetenv(name_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

TEST(SettingsLocationTest, EnvironmentThenExecutableFolderThenConfigFolderByExecutableName) {
  test::TempDir dir;
  {
    const ScopedEnvironment ini("VELVASTO_INI", "/somewhere/test.ini");
    EXPECT_EQ(LocateSettingsFile(dir.Path() / "velvasto"), fs::path("/somewhere/test.ini"));
  }
  const ScopedEnvironment ini("VELVASTO_INI", "");
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "velvasto.bin"), dir.Path() / "velvasto.ini");
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "renamed"), dir.Path() / "renamed.ini");

  const fs::path unwritable = "/proc/self";  // no user, root included, can create files here
  {
    const ScopedEnvironment config("XDG_CONFIG_HOME", "/config");
    EXPECT_EQ(LocateSettingsFile(unwritable / "player.bin"), fs::path("/config/velvasto/player.ini"));
  }
  const ScopedEnvironment home("HOME", "/home/someone");
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    const ScopedEnvironment config("XDG_CONFIG_HOME", unusable);
    EXPECT_EQ(LocateSettingsFile(unwritable / "velvasto"), fs::path("/home/someone/.config/velvasto/velvasto.ini"));
  }
}

}  // namespace
}  // namespace velvasto
