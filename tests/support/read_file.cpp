#include "support/read_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velvasto::test {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace velvasto::test
