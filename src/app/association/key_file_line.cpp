#include "app/association/key_file_line.h"

namespace velvasto {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<KeyFileEntry> EntryOf(std::string_view line) {
  const std::string_view text = Trimmed(line);
  const auto equals = text.find('=');
  if (text.starts_with('[') || text.starts_with('#') || equals == std::string_view::npos) return std::nullopt;
  return KeyFileEntry{Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1))};
}

}  // namespace velvasto
