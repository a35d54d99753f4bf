#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace velvasto::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& output) {
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (in < 0 || out < 0) ::_exit(127);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execvp(arguments[0], arguments.data());
    ::_exit(127);
  }
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Ended() {
  if (!reaped_ && pid_ > 0 && ::waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
  return reaped_;
}

int ChildProcess::Stop(int signal) {
  if (pid_ <= 0 || Ended()) return status_;
  ::kill(pid_, signal);
  if (!WaitUntil([this] { return Ended(); }, std::chrono::seconds(10))) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status_, 0);
    reaped_ = true;
  }
  return status_;
}

bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!ready()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool ProgramInstalled(const std::string& name) {
  return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace velvasto::test
