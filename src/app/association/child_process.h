#pragma once
// Running another program to its end: the desktop's own tools (xdg-mime, the database updaters)
// do the work of registering file types, and their exit status tells whether it was done.

#include <string>
#include <vector>

namespace velvasto {

struct ProgramOutcome {
  bool started = false;  // false when the program could not be found or started
  int exitStatus = -1;   // its exit status when it ended normally; -1 when a signal ended it
  std::string output;    // what it wrote to its standard output

  bool Succeeded() const { return started && exitStatus == 0; }
};

// Runs `program` (looked up on PATH when it has no slash) with `arguments` and waits until it
// ends. Its standard input and error are the null device. `environment` holds "NAME=value"
// entries that the program gets in place of (or besides) this process's values.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment = {});

}  // namespace velvasto
