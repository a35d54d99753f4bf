#pragma once
// The settings mixin: the classes that keep settings derive from CINIFile and read and write
// their keys through it. All keys live in section "Velvasto" of the one settings file whose
// path the application sets at start-up. It holds no data, so code that is not a settings
// owner (the application reading its settings block) can use a CINIFile object of its own.

#include <filesystem>
#include <string>
#include <string_view>

namespace velvasto {

class CINIFile {
 public:
  // The section every key belongs to.
  static constexpr std::string_view kSection = "Velvasto";

  // The settings file of the process. Set it once at start-up, before other threads read or
  // write settings; an empty path (the default) means there is no settings file: reads give
  // their defaults and writes store nothing and succeed.
  static void SetSettingsPath(std::filesystem::path path);
  static const std::filesystem::path& SettingsPath();

  // While a scope lives, every read comes from one reading of the settings file: a load of many
  // keys reads and parses the file once instead of once per key. A write still reads the file
  // afresh (keeping what another program changed meanwhile), replaces it, and becomes the
  // scopes' reading. Scopes may nest; the reading is dropped when the last one ends and when the
  // settings path changes.
  class LoadScope {
   public:
    LoadScope();
    ~LoadScope();
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;
  };

  // The value of `key`, or `def`; at most 260 characters.
  std::string ReadString(std::string_view key, std::string_view def) const;
  // The value of `key` as an integer (Windows private-profile rules), or `def` when the key is
  // missing or holds no number.
  int ReadInt(std::string_view key, int def) const;
  // Whether the settings file holds `key` at all: a key never written yet reads as its default,
  // which some owners treat differently from a stored value.
  bool HasKey(std::string_view key) const;

  // Store `key` and replace the settings file atomically, keeping every other line of it.
  // False when the file cannot be read or written, or the key or value cannot be stored (a line
  // break); the file is then unchanged. Folders missing on the settings path are created.
  bool WriteInt(std::string_view key, int value);
  bool WriteString(std::string_view key, std::string_view value);
};

}  // namespace velvasto
