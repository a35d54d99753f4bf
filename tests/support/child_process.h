#pragma once
// Programs a test starts beside the one under test (a sound server, a recorder), stopped with
// SIGTERM and waited for when the object goes, so that no test leaves a process behind.

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velvasto::test {

class ChildProcess {
 public:
  // Runs `argv` (found on PATH) with its standard output and error written to `output` and no
  // standard input. A program that cannot be started exits with status 127.
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& output);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Sends `signal` (unless it ended already) and waits; SIGKILL when it has not ended after ten
  // seconds. Returns the wait status; later calls return the same.
  int Stop(int signal = SIGTERM);
  // Whether the program has ended on its own, without being stopped.
  bool Ended();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = 0;
};

// Asks `ready` every 20 ms until it answers yes; false when `limit` passes first.
bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit);

// Whether an executable of that name is on PATH.
bool ProgramInstalled(const std::string& name);

}  // namespace velvasto::test
