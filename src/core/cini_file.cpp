#include "core/cini_file.h"

#include <mutex>
#include <optional>
#include <system_error>

#include "core/ini_file.h"

namespace velvasto {
namespace {

// The settings file as read, and whether it could be read: an unreadable file is never
// overwritten.
struct Reading {
  IniFile file;
  bool readable = false;
};

Reading Read(const std::filesystem::path& path) {
  Reading reading{IniFile(path)};
  reading.readable = reading.file.Load();
  return reading;
}

// The settings path and the reading shared by the load scopes, under one lock, which also keeps
// two writes from losing one of them (a write reads, changes and replaces the whole file).
struct SettingsState {
  std::mutex mutex;
  std::filesystem::path path;
  int scopes = 0;
  std::optional<Reading> shared;
};

SettingsState& State() {
  static SettingsState state;
  return state;
}

// `get` applied to the settings as they are now: the scopes' shared reading, else a fresh one.
template <typename Get>
auto ReadCurrent(Get&& get) {
  SettingsState& state = State();
  const std::lock_guard lock(state.mutex);
  if (state.scopes == 0) return get(Read(state.path).file);
  if (!state.shared) state.shared = Read(state.path);
  return get(state.shared->file);
}

}  // namespace

void CINIFile::SetSettingsPath(std::filesystem::path path) {
  SettingsState& state = State();
  const std::lock_guard lock(state.mutex);
  state.path = std::move(path);
  state.shared.reset();
}

const std::filesystem::path& CINIFile::SettingsPath() { return State().path; }

CINIFile::LoadScope::LoadScope() {
  SettingsState& state = State();
  const std::lock_guard lock(state.mutex);
  ++state.scopes;
}

CINIFile::LoadScope::~LoadScope() {
  SettingsState& state = State();
  const std::lock_guard lock(state.mutex);
  if (--state.scopes == 0) state.shared.reset();
}

std::string CINIFile::ReadString(std::string_view key, std::string_view def) const {
  return ReadCurrent([&](const IniFile& file) { return file.GetString(kSection, key, def); });
}

int CINIFile::ReadInt(std::string_view key, int def) const {
  return ReadCurrent([&](const IniFile& file) { return file.GetInt(kSection, key, def); });
}

bool CINIFile::HasKey(std::string_view key) const {
  return ReadCurrent([&](const IniFile& file) { return file.HasKey(kSection, key); });
}

bool CINIFile::WriteInt(std::string_view key, int value) { return WriteString(key, std::to_string(value)); }

bool CINIFile::WriteString(std::string_view key, std::string_view value) {
  SettingsState& state = State();
  const std::lock_guard lock(state.mutex);
  if (state.path.empty()) return true;
  // Read afresh: another program (the desktop program beside a command) may have changed the
  // file since the scopes' reading, and its change must not be lost.
  Reading reading = Read(state.path);
  if (!reading.readable || !reading.file.SetString(kSection, key, value)) return false;
  std::error_code ec;
  if (state.path.has_parent_path()) std::filesystem::create_directories(state.path.parent_path(), ec);
  if (!reading.file.Save()) return false;
  if (state.scopes > 0) state.shared = std::move(reading);
  return true;
}

}  // namespace velvasto
