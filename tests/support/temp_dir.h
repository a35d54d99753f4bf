#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away.

#include <filesystem>
#include <span>
#include <string_view>
#include <cstdint>

namespace velvasto::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Writes `bytes` to `name` inside the folder and returns the full path.
  std::filesystem::path Write(std::string_view name, std::span<const std::uint8_t> bytes) const;
  std::filesystem::path Write(std::string_view name, std::string_view text) const;

 private:
  std::filesystem::path path_;
};

}  // namespace velvasto::test
