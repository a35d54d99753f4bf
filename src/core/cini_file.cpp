#include "core/cini_file.h"

#include <mutex>
#include <system_error>

#include "core/ini_file.h"

namespace velvasto {
namespace {

// One lock for the path and the file: a write reads, changes and replaces the whole file, and
// two writes at once would otherwise lose one of them.
std::mutex& SettingsMutex() {
  static std::mutex mutex;
  return mutex;
}

std::filesystem::path& SettingsPathStorage() {
  static std::filesystem::path path;
  return path;
}

// The settings file as it is now; a file that cannot be read reads as empty.
IniFile LoadSettings() {
  IniFile file(SettingsPathStorage());
  file.Load();
  return file;
}

}  // namespace

void CINIFile::SetSettingsPath(std::filesystem::path path) {
  const std::lock_guard lock(SettingsMutex());
  SettingsPathStorage() = std::move(path);
}

const std::filesystem::path& CINIFile::SettingsPath() { return SettingsPathStorage(); }

std::string CINIFile::ReadString(std::string_view key, std::string_view def) const {
  const std::lock_guard lock(SettingsMutex());
  return LoadSettings().GetString(kSection, key, def);
}

int CINIFile::ReadInt(std::string_view key, int def) const {
  const std::lock_guard lock(SettingsMutex());
  return LoadSettings().GetInt(kSection, key, def);
}

bool CINIFile::HasKey(std::string_view key) const {
  const std::lock_guard lock(SettingsMutex());
  return LoadSettings().HasKey(kSection, key);
}

bool CINIFile::WriteInt(std::string_view key, int value) { return WriteString(key, std::to_string(value)); }

bool CINIFile::WriteString(std::string_view key, std::string_view value) {
  const std::lock_guard lock(SettingsMutex());
  const std::filesystem::path& path = SettingsPathStorage();
  if (path.empty()) return true;
  IniFile file(path);
  if (!file.Load() || !file.SetString(kSection, key, value)) return false;
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  return file.Save();
}

}  // namespace velvasto
