#include "app/association/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "app/unique_fd.h"

extern char** environ;

namespace velvasto {
namespace {

// More output than any tool we run writes; the rest is read and dropped.
constexpr std::size_t kOutputLimit = 1 << 20;

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { posix_spawnattr_init(&attributes_); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  posix_spawnattr_t* Get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

// A started child; one that is still running when its owner goes away is killed and reaped, so
// that no zombie stays behind.
class RunningChild {
 public:
  explicit RunningChild(pid_t pid) : pid_(pid) {}
  ~RunningChild() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  RunningChild(const RunningChild&) = delete;
  RunningChild& operator=(const RunningChild&) = delete;

  // Its exit status, or -1 when a signal ended it.
  int Wait() {
    int status = 0;
    pid_t waited;
    do {
      waited = ::waitpid(pid_, &status, 0);
    } while (waited < 0 && errno == EINTR);
    pid_ = -1;
    return waited >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_;
};

std::string_view NameOf(std::string_view entry) { return entry.substr(0, entry.find('=')); }

// This process's environment with `overrides` put in.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    bool replaced = false;
    for (const std::string& override : overrides) replaced = replaced || NameOf(*entry) == NameOf(override);
    if (!replaced) entries.emplace_back(*entry);
  }
  entries.insert(entries.end(), overrides.begin(), overrides.end());
  return entries;
}

std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment) {
  ProgramOutcome outcome;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return outcome;
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);

  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_addopen(actions.Get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // The child starts with no signal blocked, whatever this thread blocks.
  SpawnAttributes attributes;
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(attributes.Get(), &none);
  posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSIGMASK);

  std::vector<std::string> argumentList{program};
  argumentList.insert(argumentList.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environmentList = ChildEnvironment(environment);
  const std::vector<char*> argv = NullTerminated(argumentList);
  const std::vector<char*> envp = NullTerminated(environmentList);

  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), actions.Get(), attributes.Get(), argv.data(), envp.data()) != 0) {
    return outcome;
  }
  RunningChild child(pid);
  writeEnd.Reset();  // the pipe ends when the child (and anything it started) closes its copy

  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(readEnd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    const std::size_t keep = std::min(static_cast<std::size_t>(got), kOutputLimit - outcome.output.size());
    outcome.output.append(buffer, keep);
  }
  outcome.started = true;
  outcome.exitStatus = child.Wait();
  return outcome;
}

}  // namespace velvasto
