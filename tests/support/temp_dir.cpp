#include "support/temp_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <random>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace velvasto::test {

TempDir::TempDir() {
  // Letters only: tests scan song paths for the map strings ("55", "88N", "88P"), which a
  // random name with digits could contain.
  static thread_local std::mt19937_64 random{std::random_device{}()};
  std::uniform_int_distribution<int> letter('a', 'z');
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::string name = "velvasto-test-";
    for (int i = 0; i < 10; ++i) name.push_back(static_cast<char>(letter(random)));
    const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name;
    if (mkdir(candidate.c_str(), 0700) == 0) {
      path_ = candidate;
    } else if (errno != EEXIST) {
      break;
    }
  }
  if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(std::string_view name, std::span<const std::uint8_t> bytes) const {
  const std::filesystem::path file = path_ / std::filesystem::path(std::string(name));
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return file;
}

std::filesystem::path TempDir::Write(std::string_view name, std::string_view text) const {
  return Write(name, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace velvasto::test
