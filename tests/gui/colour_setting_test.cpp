#include "gui/monitor/colour_setting.h"

#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/errors.h"
#include "support/expect_error.h"
#include "support/read_file.h"
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

TEST(ColourSettingTest, SavedColourComesBackUnderItsOwnKeys) {
  test::SettingsFileScope settingsFile;
  CINIFile settings;
  SaveColour(settings, "Vol Slider For Color", {10, 223, 7});
  EXPECT_EQ(test::ReadWholeFile(settingsFile.Path()),
            "[Velvasto]\nVol Slider For Color R=10\nVol Slider For Color G=223\nVol Slider For Color B=7\n");
  EXPECT_EQ(LoadColour(settings, "Vol Slider For Color", {}), (Rgb{10, 223, 7}));
}

TEST(ColourSettingTest, AFailedWriteIsTheSettingsSaveError) {
  test::SettingsFileScope settingsFile;
  // The settings folder is a file: nothing can be written below it.
  const auto blocker = settingsFile.Dir().Write("blocker", "");
  CINIFile::SetSettingsPath(blocker / "velvasto.ini");
  CINIFile settings;
  test::ExpectError<CErrMessage>([&] { SaveColour(settings, "Map Text Color", {0, 255, 0}); },
                                 errc::kIniSaveFailed, std::string(CatalogueText(62012)));
}

}  // namespace
}  // namespace velvasto::gui
