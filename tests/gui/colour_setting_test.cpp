#include "gui/monitor/colour_setting.h"

#include <gtest/gtest.h>

#include "support/settings_file_scope.h"

namespace velvasto::gui {
namespace {

TEST(ColourSettingTest, KeysGiveTheirLowEightBitsAndMissingOnesTheDefault) {
  test::SettingsFileScope settingsFile;
  settingsFile.Write("[Velvasto]\nVol Back Color R=300\nVol Back Color B=-1\n");
  CINIFile settings;
  EXPECT_EQ(LoadColour(settings, "Vol Back Color", {1, 2, 3}), (Rgb{44, 2, 255}));
  EXPECT_EQ(LoadColour(settings, "Rol For Color A", {0, 255, 255}), (Rgb{0, 255, 255}));
}

}  // namespace
}  // namespace velvasto::gui
