#pragma once
// Runs velvasto-cli as a separate process and captures what it prints.

#include <string>
#include <vector>

namespace velvasto::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built velvasto-cli with `args` and no terminal, settings taken from `iniPath`
// (VELVASTO_INI).
CliResult RunCli(const std::vector<std::string>& args, const std::string& iniPath);

// `text` cut at its line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace velvasto::test
