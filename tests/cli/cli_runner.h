#pragma once
// Runs velvasto-cli as a separate process and captures what it prints.

#include <initializer_list>
#include <string>
#include <vector>

namespace velvasto::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built velvasto-cli with `args`, settings taken from `iniPath` (VELVASTO_INI).
CliResult RunCli(std::initializer_list<std::string> args, const std::string& iniPath);
CliResult RunCliArgs(const std::vector<std::string>& args, const std::string& iniPath);

}  // namespace velvasto::test
