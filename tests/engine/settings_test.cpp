// The engine's settings: the timer period and the reset switches, as the settings file has them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/cini_file.h"
#include "core/settings_block.h"
#include "engine/reset_messages.h"
#include "engine/timer_period.h"
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

TEST(TimerPeriod, IsBroughtIntoOneToTwentyMilliseconds) {
  EXPECT_EQ(ClampTimerPeriod(-3), 1u);
  EXPECT_EQ(ClampTimerPeriod(0), 1u);
  EXPECT_EQ(ClampTimerPeriod(1), 1u);
  EXPECT_EQ(ClampTimerPeriod(7), 7u);
  EXPECT_EQ(ClampTimerPeriod(20), 20u);
  EXPECT_EQ(ClampTimerPeriod(21), 20u);
  EXPECT_EQ(ClampTimerPeriod(1'000'000), 20u);
}

TEST(TimerPeriod, IsReadFromTheSettingsFileWithDefaultFive) {
  {
    SettingsFile settings("[Velvasto]\nTimer Period=50\n");
    EXPECT_EQ(ReadTimerPeriod(CINIFile{}), 20u);
  }
  {
    SettingsFile settings("[Velvasto]\nTimer Period= 2ms\n");
    EXPECT_EQ(ReadTimerPeriod(CINIFile{}), 2u);
  }
  SettingsFile settings("[Velvasto]\nVolume Value=100\n");
  EXPECT_EQ(ReadTimerPeriod(CINIFile{}), 5u);
}

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
