#pragma once
// A settings file of the test's own in a fresh folder, made the process's settings file for the
// lifetime of the object; afterwards there is none again.

#include <filesystem>

#include "core/cini_file.h"
#include "support/temp_dir.h"

namespace velvasto::test {

class SettingsFileScope {
 public:
  SettingsFileScope() { CINIFile::SetSettingsPath(Path()); }
  ~SettingsFileScope() { CINIFile::SetSettingsPath({}); }
  SettingsFileScope(const SettingsFileScope&) = delete;
  SettingsFileScope& operator=(const SettingsFileScope&) = delete;

  std::filesystem::path Path() const { return dir_.Path() / "velvasto.ini"; }
  const TempDir& Dir() const { return dir_; }
  // Replaces the file with `text`.
  void Write(std::string_view text) const { dir_.Write("velvasto.ini", text); }

 private:
  TempDir dir_;
};

}  // namespace velvasto::test
