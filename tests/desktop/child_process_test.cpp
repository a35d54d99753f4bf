// Running the desktop's tools: what a child is given and what comes back from it.

#include "app/association/child_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>


namespace velvasto::test {
namespace {

TEST(ChildProcessTest, ExitStatusOutputAndEnvironmentComeBack) {
  struct Case {
    std::string script;
    std::vector<std::string> environment;
    int status;
    std::string output;
  };
  const std::vector<Case> cases = {
      {"printf 'a\\nb'; exit 0", {}, 0, "a\nb"},
      {"exit 3", {}, 3, ""},
      // the child's standard input is empty, not the test's own
      {"cat; echo end", {}, 0, "end\n"},
      // an override replaces the value this process has, and a new name is added
      {"echo \"$HOME|$VELVASTO_PROBE\"", {"HOME=/nowhere", "VELVASTO_PROBE=x=y"}, 0, "/nowhere|x=y\n"},
      // what the child writes to its standard error is not taken for its answer
      {"echo wrong >&2; echo right", {}, 0, "right\n"},
  };
  for (const Case& c : cases) {
    const ProgramOutcome outcome = RunProgram("sh", {"-c", c.script}, c.environment);
    EXPECT_TRUE(outcome.started) << c.script;
    EXPECT_EQ(outcome.exitStatus, c.status) << c.script;
    EXPECT_EQ(outcome.output, c.output) << c.script;
    EXPECT_EQ(outcome.Succeeded(), c.status == 0) << c.script;
  }
}

TEST(ChildProcessTest, AProgramThatCannotRunOrIsKilledHasFailed) {
  const ProgramOutcome missing = RunProgram("velvasto-no-such-tool", {});
  EXPECT_FALSE(missing.started);
  EXPECT_FALSE(missing.Succeeded());

  const ProgramOutcome killed = RunProgram("sh", {"-c", "kill -KILL $$"});
  EXPECT_TRUE(killed.started);
  EXPECT_EQ(killed.exitStatus, -1);
  EXPECT_FALSE(killed.Succeeded());
}

// The child gets none of this process's other descriptors: a tool that starts a daemon must
// not hold our pipes or sockets open.
TEST(ChildProcessTest, NoDescriptorOfOursLeaksIntoTheChild) {
  // Descriptors this process was given without close-on-exec (by whoever started it) are
  // passed on as they would be to any program; none of the pipe's may be.
  int inherited = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    const int fd = std::stoi(entry.path().filename().string());
    const int flags = fcntl(fd, F_GETFD);
    if (fd > 2 && flags >= 0 && (flags & FD_CLOEXEC) == 0) ++inherited;
  }
  const ProgramOutcome outcome = RunProgram("sh", {"-c", "ls /proc/self/fd | wc -l"});
  ASSERT_TRUE(outcome.Succeeded());
  // 0, 1, 2, those passed on, and the descriptor ls reads the folder through
  EXPECT_EQ(std::stoi(outcome.output), 3 + inherited + 1);
}

}  // namespace
}  // namespace velvasto::test
