#pragma once
// Environment variables of the test's choosing for the lifetime of the object (the programs the
// test starts inherit them); afterwards each has its old value again, or is unset, as it was.

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velvasto::test {

class EnvironmentScope {
 public:
  EnvironmentScope() = default;
  // Each name is set to its value, or removed for nothing.
  explicit EnvironmentScope(const std::map<std::string, std::optional<std::string>>& values) {
    for (const auto& [name, value] : values) value ? Set(name, *value) : Unset(name);
  }
  ~EnvironmentScope() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;

  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
  }

 private:
  void Save(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    saved_.emplace_back(name, value == nullptr ? std::nullopt : std::optional<std::string>(value));
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace velvasto::test
