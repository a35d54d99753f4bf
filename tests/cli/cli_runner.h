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
// (VELVASTO_INI). Standard output is captured, or goes where `stdoutRedirection` (shell syntax
// such as ">/dev/full" or ">&-") sends it. A run that has not ended after five minutes is
// killed: a command that hangs fails its test (status 137).
CliResult RunCli(const std::vector<std::string>& args, const std::string& iniPath,
                 const std::string& stdoutRedirection = "");

// `text` as one word for the shell, whatever it holds.
std::string Quoted(const std::string& text);

// `text` cut at its line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace velvasto::test
