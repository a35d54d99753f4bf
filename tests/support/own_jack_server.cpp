#include "support/own_jack_server.h"

#include <unistd.h>

#include <chrono>

#include "midiout/backends/jack_client.h"

namespace velvasto::test {
namespace {

// A name no other test, run or developer uses at the same time.
std::string UniqueServerName() {
  static int made = 0;
  return "velvasto-test-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
}

}  // namespace

OwnJackServer::OwnJackServer(const std::filesystem::path& log)
    : name_(UniqueServerName()),
      environment_({{"JACK_DEFAULT_SERVER", name_}}),
      server_({"jackd", "--no-realtime", "-n", name_, "-d", "dummy", "-r", "48000", "-p", "256"}, log) {
  running_ = WaitUntil([&] { return JackServerRuns() || server_.Ended(); }, std::chrono::seconds(30)) &&
             !server_.Ended();
}

OwnJackServer::~OwnJackServer() {
  server_.Stop();
  for (const auto& entry : std::filesystem::directory_iterator("/dev/shm")) {
    if (entry.path().filename().string().find("_" + name_ + "_") != std::string::npos) {
      std::filesystem::remove(entry.path());
    }
  }
}

}  // namespace velvasto::test
