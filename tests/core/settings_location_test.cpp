#include "core/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace velvasto {
namespace {

namespace fs = std::filesystem;

// Sets or unsets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

// A folder that no user, root included, can create files in.
const fs::path kUnwritableFolder = "/proc/self";

TEST(SettingsLocationTest, EnvironmentOverridesEverything) {
  const ScopedEnvironment ini("VELVASTO_INI", "/somewhere/test.ini");
  test::TempDir dir;
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "velvasto"), fs::path("/somewhere/test.ini"));
}

TEST(SettingsLocationTest, BesideAnExecutableInAWritableFolderNamedAfterIt) {
  const ScopedEnvironment ini("VELVASTO_INI", nullptr);
  test::TempDir dir;
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "velvasto"), dir.Path() / "velvasto.ini");
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "velvasto.bin"), dir.Path() / "velvasto.ini");
  EXPECT_EQ(LocateSettingsFile(dir.Path() / "renamed"), dir.Path() / "renamed.ini");
}

TEST(SettingsLocationTest, AnExistingFileBesideTheExecutableIsUsedInAReadOnlyFolder) {
  const ScopedEnvironment ini("VELVASTO_INI", nullptr);
  const ScopedEnvironment config("XDG_CONFIG_HOME", "/config");
  test::TempDir dir;
  dir.Write("velvasto.ini", "[Velvasto]\n");
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  const fs::path located = LocateSettingsFile(dir.Path() / "velvasto");
  const bool folderWritable = access(dir.Path().c_str(), W_OK) == 0;
  chmod(dir.Path().c_str(), 0755);
  if (folderWritable) GTEST_SKIP() << "this user may write into read-only folders";
  EXPECT_EQ(located, dir.Path() / "velvasto.ini");
}

TEST(SettingsLocationTest, OtherwiseTheUsersConfigFolderByExecutableName) {
  const ScopedEnvironment ini("VELVASTO_INI", "");
  {
    const ScopedEnvironment config("XDG_CONFIG_HOME", "/config");
    EXPECT_EQ(LocateSettingsFile(kUnwritableFolder / "velvasto"), fs::path("/config/velvasto/velvasto.ini"));
    EXPECT_EQ(LocateSettingsFile(kUnwritableFolder / "player.bin"), fs::path("/config/velvasto/player.ini"));
  }
  const ScopedEnvironment home("HOME", "/home/someone");
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    const ScopedEnvironment config("XDG_CONFIG_HOME", unusable);
    EXPECT_EQ(LocateSettingsFile(kUnwritableFolder / "velvasto"),
              fs::path("/home/someone/.config/velvasto/velvasto.ini"));
  }
}

}  // namespace
}  // namespace velvasto
