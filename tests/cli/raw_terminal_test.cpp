// Raw mode on a pseudo-terminal, and the terminal as it is found again after the program left —
// by returning, or killed by a signal.

#include <gtest/gtest.h>

#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "cli/terminal/raw_terminal.h"

namespace velvasto::cli {
namespace {

enum class Exit { Return, Abort, BrokenPipe };

struct Observed {
  bool rawWhileRunning = false;
  bool restoredAfter = false;
  int status = 0;
};

bool Raw(int fd) {
  termios attributes{};
  return ::tcgetattr(fd, &attributes) == 0 && (attributes.c_lflag & (ICANON | ECHO)) == 0;
}

bool Cooked(int fd) {
  termios attributes{};
  return ::tcgetattr(fd, &attributes) == 0 && (attributes.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO);
}

// A child process takes the pseudo-terminal as its standard input into raw mode, tells the
// parent, waits for its word, and leaves as `how` says.
Observed RunChild(Exit how) {
  int master = -1;
  int slave = -1;
  termios cooked{};
  cooked.c_lflag = ICANON | ECHO | ISIG;
  cooked.c_iflag = ICRNL;
  EXPECT_EQ(::openpty(&master, &slave, nullptr, &cooked, nullptr), 0);
  int ready[2];
  int go[2];
  EXPECT_EQ(::pipe(ready), 0);
  EXPECT_EQ(::pipe(go), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::dup2(slave, STDIN_FILENO);
    char byte = 0;
    {
      RawTerminal raw(STDIN_FILENO);
      byte = raw.Active() ? 'r' : 'n';
      if (::write(ready[1], &byte, 1) != 1 || ::read(go[0], &byte, 1) != 1) ::_exit(3);
      if (how == Exit::Abort) std::abort();
      if (how == Exit::BrokenPipe) {
        ::close(ready[0]);
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &byte, 1);
        ::_exit(4);
      }
    }
    ::_exit(0);
  }
  Observed observed;
  char byte = 0;
  EXPECT_EQ(::read(ready[0], &byte, 1), 1);
  observed.rawWhileRunning = byte == 'r' && Raw(slave);
  if (how == Exit::BrokenPipe) ::close(ready[0]);
  EXPECT_EQ(::write(go[1], &byte, 1), 1);
  ::waitpid(pid, &observed.status, 0);
  observed.restoredAfter = Cooked(slave);
  for (const int fd : {master, slave, ready[1], go[0], go[1]}) ::close(fd);
  if (how != Exit::BrokenPipe) ::close(ready[0]);
  return observed;
}

TEST(RawTerminalTest, TheTerminalIsRestoredOnEveryWayOut) {
  const Observed returned = RunChild(Exit::Return);
  EXPECT_TRUE(returned.rawWhileRunning);
  EXPECT_TRUE(returned.restoredAfter);
  EXPECT_TRUE(WIFEXITED(returned.status) && WEXITSTATUS(returned.status) == 0);

  // An uncaught exception ends in abort(): the handler restores, then the signal ends the child.
  const Observed aborted = RunChild(Exit::Abort);
  EXPECT_TRUE(aborted.rawWhileRunning);
  EXPECT_TRUE(aborted.restoredAfter);
  EXPECT_TRUE(WIFSIGNALED(aborted.status) && WTERMSIG(aborted.status) == SIGABRT);

  const Observed brokenPipe = RunChild(Exit::BrokenPipe);
  EXPECT_TRUE(brokenPipe.restoredAfter);
  EXPECT_TRUE(WIFSIGNALED(brokenPipe.status) && WTERMSIG(brokenPipe.status) == SIGPIPE);
}

TEST(RawTerminalTest, NothingChangesWhenInputIsNotATerminal) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  {
    RawTerminal raw(fds[0]);
    EXPECT_FALSE(raw.Active());
  }
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace
}  // namespace velvasto::cli
