#include "core/paths.h"

#include <string>
#include <system_error>

namespace velvasto {
namespace {

namespace fs = std::filesystem;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether `name` matches `pattern`, whose '*' stands for any run of characters and '?' for one
// (UTF-8) character. The last '*' is retried one character further on each mismatch, so the
// work stays within the product of the two lengths.
bool MatchesWildcards(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  const auto skipCharacter = [&name](std::size_t i) {
    ++i;
    while (i < name.size() && IsUtf8Continuation(name[i])) ++i;
    return i;
  };
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n = skipCharacter(n);
    } else if (p < pattern.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = starN = skipCharacter(starN);
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::optional<fs::path> AbsolutePath(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec) return std::nullopt;
  return absolute.lexically_normal();
}

}  // namespace

fs::path ExecutablePath() {
  std::error_code ec;
  fs::path path = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : path;
}

std::optional<fs::path> FindFile(std::string_view nameOrPattern) {
  if (nameOrPattern.empty()) return std::nullopt;
  const fs::path given(nameOrPattern);
  const std::string pattern = given.filename().string();
  if (pattern.find_first_of("*?") == std::string::npos) {
    return IsRegularFile(given) ? AbsolutePath(given) : std::nullopt;
  }
  // One pass over the folder, keeping the first name in name order.
  const fs::path folder = given.has_parent_path() ? given.parent_path() : fs::path(".");
  std::optional<std::string> first;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with('.') && !pattern.starts_with('.')) continue;
    if ((first && *first <= name) || !MatchesWildcards(pattern, name) || !IsRegularFile(it->path())) continue;
    first = name;
  }
  return first ? AbsolutePath(folder / *first) : std::nullopt;
}

}  // namespace velvasto
