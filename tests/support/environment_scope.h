#pragma once
// Environment variables set (or removed) for the length of a test; the programs the test starts
// inherit them.

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace velvasto::test {

// Each name is set to its value, or removed for nothing; the old values come back at the end.
class EnvironmentScope {
 public:
  explicit EnvironmentScope(const std::map<std::string, std::optional<std::string>>& values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      Set(name, value);
    }
  }
  ~EnvironmentScope() {
    for (const auto& [name, value] : saved_) Set(name, value);
  }
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;

 private:
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace velvasto::test
