#pragma once
// The whole contents of a file, for tests that check what was written.

#include <filesystem>
#include <string>

namespace velvasto::test {

// Throws std::runtime_error when the file cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace velvasto::test
