#pragma once
// The demo songs of the source tree (resources/demo), found through the source folder the
// tests were built from, so that a suite finds them however it is started.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace velvasto::test {

// Throws std::runtime_error naming the path when the song is not there (a source tree moved
// or cleaned since the build).
inline std::filesystem::path DemoSong(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(VELVASTO_SOURCE_DIR) / "resources" / "demo" / name;
  if (!std::filesystem::is_regular_file(path)) {
    throw std::runtime_error("demo song " + path.string() + " not found: rebuild the tests from this source tree");
  }
  return path;
}

}  // namespace velvasto::test
