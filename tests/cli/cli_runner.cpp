#include "cli/cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto::test {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

CliResult RunCli(const std::vector<std::string>& args, const std::string& iniPath,
                 const std::string& stdoutRedirection) {
  const TempDir capture;
  const std::filesystem::path out = capture.Path() / "out";
  const std::filesystem::path err = capture.Path() / "err";
  // No keys from the terminal that runs the tests.
  std::string command = "VELVASTO_INI=" + Quoted(iniPath) + " timeout -s KILL 300 " + Quoted(VELVASTO_CLI_PATH);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " </dev/null " + (stdoutRedirection.empty() ? ">" + Quoted(out.string()) : stdoutRedirection) + " 2>" +
             Quoted(err.string());
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          stdoutRedirection.empty() ? ReadWholeFile(out) : std::string(), ReadWholeFile(err)};
}

}  // namespace velvasto::test
