#include "core/paths.h"

#include <glob.h>

#include <string>
#include <system_error>

namespace velvasto {
namespace {

namespace fs = std::filesystem;

// The results of one glob(3) search, released when it goes out of scope.
class GlobResult {
 public:
  explicit GlobResult(const std::string& pattern) { status_ = glob(pattern.c_str(), 0, nullptr, &result_); }
  ~GlobResult() { globfree(&result_); }
  GlobResult(const GlobResult&) = delete;
  GlobResult& operator=(const GlobResult&) = delete;

  std::size_t Count() const { return status_ == 0 ? result_.gl_pathc : 0; }
  const char* operator[](std::size_t i) const { return result_.gl_pathv[i]; }

 private:
  glob_t result_{};
  int status_ = GLOB_NOMATCH;
};

// `nameOrPattern` with the characters glob(3) would treat as special, other than '*' and '?',
// escaped with a backslash.
std::string GlobPattern(std::string_view nameOrPattern) {
  std::string pattern;
  pattern.reserve(nameOrPattern.size());
  for (const char c : nameOrPattern) {
    if (c == '[' || c == ']' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern;
}

}  // namespace

fs::path ExecutablePath() {
  std::error_code ec;
  fs::path path = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : path;
}

std::optional<fs::path> FindFile(std::string_view nameOrPattern) {
  if (nameOrPattern.empty()) return std::nullopt;
  const GlobResult matches(GlobPattern(nameOrPattern));
  for (std::size_t i = 0; i < matches.Count(); ++i) {
    std::error_code ec;
    const fs::path match(matches[i]);
    if (!fs::is_regular_file(match, ec)) continue;
    const fs::path absolute = fs::absolute(match, ec);
    if (!ec) return absolute.lexically_normal();
  }
  return std::nullopt;
}

}  // namespace velvasto
