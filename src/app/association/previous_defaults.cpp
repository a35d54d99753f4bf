#include "app/association/previous_defaults.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/association/key_file_line.h"
#include "core/atomic_file.h"

namespace velvasto {
namespace {

constexpr std::string_view kGroup = "[Previous Defaults]";

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.';
}

}  // namespace

bool IsDesktopFileName(std::string_view name) {
  constexpr std::string_view kSuffix = ".desktop";
  return name.size() > kSuffix.size() && name.ends_with(kSuffix) && name.front() != '-' &&
         std::ranges::all_of(name, IsNameCharacter);
}

bool IsMimeType(std::string_view type) {
  const auto slash = type.find('/');
  if (slash == 0 || slash == std::string_view::npos || slash + 1 == type.size() || type.front() == '-') return false;
  return std::ranges::all_of(type, [](char c) { return IsNameCharacter(c) || c == '+' || c == '/'; }) &&
         std::ranges::count(type, '/') == 1;
}

std::optional<std::string> PreviousDefaults::Find(std::string_view mimeType) const {
  const auto entries = Read();
  const auto found = entries.find(mimeType);
  if (found == entries.end()) return std::nullopt;
  return found->second;
}

bool PreviousDefaults::Save(std::string_view mimeType, std::string_view desktopFile) const {
  auto entries = Read();
  entries.insert_or_assign(std::string(mimeType), std::string(desktopFile));
  return Write(entries);
}

bool PreviousDefaults::Forget(std::string_view mimeType) const {
  auto entries = Read();
  const auto found = entries.find(mimeType);
  if (found == entries.end()) return true;
  entries.erase(found);
  return Write(entries);
}

std::map<std::string, std::string, std::less<>> PreviousDefaults::Read() const {
  std::map<std::string, std::string, std::less<>> entries;
  std::ifstream in(file_);
  bool inGroup = false;
  for (std::string line; std::getline(in, line);) {
    const std::string_view text = Trimmed(line);
    if (text.starts_with('[')) {
      inGroup = text == kGroup;
      continue;
    }
    const auto entry = EntryOf(line);
    if (inGroup && entry && IsMimeType(entry->key) && IsDesktopFileName(entry->value)) {
      entries.emplace(entry->key, entry->value);
    }
  }
  return entries;
}

bool PreviousDefaults::Write(const std::map<std::string, std::string, std::less<>>& entries) const {
  std::ostringstream text;
  text << "# The default applications of these file types before Velvasto became their default.\n" << kGroup << '\n';
  for (const auto& [type, application] : entries) text << type << '=' << application << '\n';
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  return ReplaceFileAtomically(file_, text.str());
}

}  // namespace velvasto
