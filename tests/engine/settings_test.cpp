// The reset switches, as the settings file and the application have them.

#include <gtest/gtest.h>

#include "core/cini_file.h"
#include "core/settings_block.h"
#include "engine/reset_messages.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

// Points the settings at a file with `text` for the life of the object.
class SettingsFile {
 public:
  explicit SettingsFile(std::string_view text) { CINIFile::SetSettingsPath(dir_.Write("velvasto.ini", text)); }
  ~SettingsFile() { CINIFile::SetSettingsPath({}); }

 private:
  test::TempDir dir_;
};

TEST(ResetSwitches, FollowTheSettingsKeysAndTheGmSystemOffFlag) {
  SettingsFile settings("[Velvasto]\nGS Reset Send=1\nGM2 System On Send=1\nXG System On Send=0\n");
  SettingsBlock block;
  block.Load(CINIFile{});
  const auto messages = EnabledResetMessages(ResetSwitchesOf(block, true));
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0][7], 0x7F) << "GS reset";
  EXPECT_EQ(messages[1][4], 0x03) << "GM2 System On";
  EXPECT_EQ(messages[2][4], 0x02) << "GM System Off";
  EXPECT_TRUE(EnabledResetMessages(ResetSwitchesOf(SettingsBlock{}, false)).empty());
}

}  // namespace
}  // namespace velvasto
