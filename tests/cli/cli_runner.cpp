#include "cli/cli_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "support/temp_dir.h"

namespace velvasto::test {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

CliResult RunCli(std::initializer_list<std::string> args, const std::string& iniPath) {
  return RunCliArgs(std::vector<std::string>(args), iniPath);
}

CliResult RunCliArgs(const std::vector<std::string>& args, const std::string& iniPath) {
  TempDir capture;
  const std::filesystem::path outPath = capture.Path() / "out";
  const std::filesystem::path errPath = capture.Path() / "err";
  std::vector<std::string> argv_storage = {VELVASTO_CLI_PATH};
  argv_storage.insert(argv_storage.end(), args.begin(), args.end());

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // No keys from the terminal that runs the tests.
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    setenv("VELVASTO_INI", iniPath.c_str(), 1);
    std::vector<char*> argv;
    for (std::string& arg : argv_storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  CliResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = ReadAll(outPath);
  result.err = ReadAll(errPath);
  return result;
}

}  // namespace velvasto::test
