#pragma once
// What a start of the program asks for: play modes and the files to open. Filled from the
// command line, or received from a second instance, and processed by the main view.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velvasto {

struct OpenRequest {
  static constexpr std::int32_t kNotGiven = -1;
  static constexpr std::size_t kMaxPaths = 1024;

  std::int32_t playMode = kNotGiven;      // 0 no repeat, 1 repeat, 2 random
  std::int32_t singleRepeat = kNotGiven;  // 1 on
  std::int32_t dropMode = kNotGiven;      // 0 new list, 1 append
  std::vector<std::filesystem::path> paths;  // at most kMaxPaths, in command-line order

  bool operator==(const OpenRequest&) const = default;
};

}  // namespace velvasto
