#pragma once
// A JACK server of the test's own with the dummy driver (no sound card needed), named by
// JACK_DEFAULT_SERVER while it lives, so that the programs the test starts play to it. It is
// always stopped with SIGTERM: a server killed outright keeps its place in the user's JACK
// registry, which holds only a few, and no later server could start.

#include <filesystem>
#include <string>

#include "support/child_process.h"
#include "support/environment_scope.h"

namespace velvasto::test {

class OwnJackServer {
 public:
  // Starts the server, writing its output to `log`, and waits until it answers.
  explicit OwnJackServer(const std::filesystem::path& log);
  // The semaphores named after the server that it and its clients leave behind go with it.
  ~OwnJackServer();
  OwnJackServer(const OwnJackServer&) = delete;
  OwnJackServer& operator=(const OwnJackServer&) = delete;

  bool Running() const { return running_; }
  void Stop() { server_.Stop(); }

 private:
  std::string name_;
  EnvironmentScope environment_;
  ChildProcess server_;
  bool running_ = false;
};

}  // namespace velvasto::test
