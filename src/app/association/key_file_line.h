#pragma once
// One line of the desktop's key files ("[Group]" headers and "key=value" entries), the syntax
// of mimeapps.list and of the program's own file of previous defaults.

#include <optional>
#include <string_view>

namespace velvasto {

// `text` without blanks, tabs and carriage returns at either end.
std::string_view Trimmed(std::string_view text);

struct KeyFileEntry {
  std::string_view key;    // trimmed
  std::string_view value;  // trimmed
};

// The entry of a "key=value" line; nothing for a group header, a comment or any other line.
std::optional<KeyFileEntry> EntryOf(std::string_view line);

}  // namespace velvasto
