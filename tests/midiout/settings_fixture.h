#pragma once
// Points the settings store at a fresh file for the length of a test.

#include <gtest/gtest.h>

#include <string_view>

#include "core/cini_file.h"
#include "support/temp_dir.h"

namespace velvasto::test {

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { CINIFile::SetSettingsPath(dir_.Path() / "velvasto.ini"); }
  ~SettingsFileTest() override { CINIFile::SetSettingsPath({}); }

  static void Write(std::string_view key, std::string_view value) { ASSERT_TRUE(CINIFile().WriteString(key, value)); }
  static std::string Read(std::string_view key) { return CINIFile().ReadString(key, "<missing>"); }

  TempDir dir_;
};

}  // namespace velvasto::test
