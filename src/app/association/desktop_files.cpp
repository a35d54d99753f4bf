#include "app/association/desktop_files.h"

#include <cstddef>
#include <sstream>

namespace velvasto {
namespace detail {
extern const char kDesktopEntryBytes[];
extern const std::size_t kDesktopEntrySize;
extern const char kMimePackageBytes[];
extern const std::size_t kMimePackageSize;
extern const char kScalableIconBytes[];
extern const std::size_t kScalableIconSize;
}  // namespace detail

namespace {

// The characters that make an Exec argument need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// `path` as one argument of an Exec line: quoted when it has a reserved character, with '"',
// '`', '$' and '\' escaped inside the quotes; then, since the line is a string value, each '\'
// doubled; and '%' doubled, since the line's own field codes start with it.
std::optional<std::string> ExecArgument(const std::string& path) {
  for (const char c : path) {
    if (c == '\n' || c == '\r' || (static_cast<unsigned char>(c) < 0x20 && c != '\t')) return std::nullopt;
  }
  std::string argument;
  const bool quoted = path.find_first_of(kReserved) != std::string::npos;
  if (quoted) argument += '"';
  for (const char c : path) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
    argument += c;
  }
  if (quoted) argument += '"';

  std::string escaped;
  for (const char c : argument) {
    if (c == '\\') escaped += '\\';
    if (c == '%') escaped += '%';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::string_view InstalledDesktopEntry() { return {detail::kDesktopEntryBytes, detail::kDesktopEntrySize}; }
std::string_view MimePackage() { return {detail::kMimePackageBytes, detail::kMimePackageSize}; }
std::string_view ScalableIcon() { return {detail::kScalableIconBytes, detail::kScalableIconSize}; }

std::optional<std::string> DesktopEntryRunning(const std::filesystem::path& executable) {
  const auto argument = ExecArgument(executable.string());
  if (!argument) return std::nullopt;
  std::istringstream in{std::string(InstalledDesktopEntry())};
  std::string entry;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("Exec=")) line = "Exec=" + *argument + " %F";
    entry += line;
    entry += '\n';
  }
  return entry;
}

}  // namespace velvasto
