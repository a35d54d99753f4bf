#include "app/association/mime_apps_list.h"

#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "app/association/key_file_line.h"
#include "core/atomic_file.h"

namespace velvasto {
namespace {

// The values of a "type=a;b;" line without `desktopFile`, in their order ("" when none is
// left), or nothing when `desktopFile` is not among them.
std::optional<std::string> WithoutApplication(std::string_view values, std::string_view desktopFile) {
  std::string kept;
  bool found = false;
  while (!values.empty()) {
    const auto semicolon = values.find(';');
    const std::string_view value = Trimmed(values.substr(0, semicolon));
    if (value == desktopFile) {
      found = true;
    } else if (!value.empty()) {
      kept.append(value).push_back(';');
    }
    if (semicolon == std::string_view::npos) break;
    values.remove_prefix(semicolon + 1);
  }
  if (!found) return std::nullopt;
  return kept;
}

// Calls `onTypeLine(line, values)` for each line of `mimeType` in the group
// "[Default Applications]" of the text read from `in`, and `onOtherLine(line)` for every other.
template <typename OnTypeLine, typename OnOtherLine>
void ForEachLine(std::istream& in, std::string_view mimeType, OnTypeLine&& onTypeLine, OnOtherLine&& onOtherLine) {
  bool inDefaults = false;
  for (std::string line; std::getline(in, line);) {
    const std::string_view text = Trimmed(line);
    if (text.starts_with('[')) inDefaults = text == "[Default Applications]";
    const auto entry = EntryOf(line);
    if (inDefaults && entry && entry->key == mimeType) {
      onTypeLine(line, std::string(entry->value));
    } else {
      onOtherLine(line);
    }
  }
}

}  // namespace

std::optional<std::string> DefaultApplicationIn(const std::filesystem::path& list, std::string_view mimeType) {
  std::ifstream in(list, std::ios::binary);
  std::optional<std::string> first;
  ForEachLine(
      in, mimeType,
      [&](const std::string&, const std::string& values) {
        const std::string_view value = Trimmed(std::string_view(values).substr(0, values.find(';')));
        if (!first && !value.empty()) first = std::string(value);
      },
      [](const std::string&) {});
  return first;
}

bool RemoveDefaultApplication(const std::filesystem::path& list, std::string_view mimeType,
                              std::string_view desktopFile) {
  std::error_code ec;
  if (!std::filesystem::exists(list, ec)) return !ec;
  std::ifstream in(list, std::ios::binary);
  if (!in) return false;

  std::string result;
  bool changed = false;
  const auto keep = [&](const std::string& line) { (result += line) += '\n'; };
  ForEachLine(
      in, mimeType,
      [&](const std::string& line, const std::string& values) {
        const auto kept = WithoutApplication(values, desktopFile);
        if (!kept) return keep(line);
        changed = true;
        if (!kept->empty()) keep(std::string(mimeType) + "=" + *kept);
      },
      keep);
  if (in.bad()) return false;
  return !changed || ReplaceFileAtomically(list, result);
}

}  // namespace velvasto
