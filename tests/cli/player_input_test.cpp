// The terminal player's loop input: keys from a descriptor, stop signals, wake-ups.

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <string_view>
#include <thread>

#include "cli/terminal/player_input.h"
#include "cli/terminal/stop_signals.h"

namespace velvasto::cli {
namespace {

using namespace std::chrono_literals;

// A pipe standing for the keyboard.
class KeyPipe {
 public:
  KeyPipe() { EXPECT_EQ(::pipe(fds_), 0); }
  ~KeyPipe() {
    Close();
    ::close(fds_[0]);
  }
  int ReadFd() const { return fds_[0]; }
  void Type(std::string_view bytes) { EXPECT_EQ(::write(fds_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  void Close() {
    if (fds_[1] >= 0) ::close(fds_[1]);
    fds_[1] = -1;
  }

 private:
  int fds_[2] = {-1, -1};
};

TEST(PlayerInputTest, KeysArriveDecodedAndTheEndOfInputIsNotAKey) {
  StopSignals signals;
  KeyPipe keyboard;
  PlayerInput input(signals, keyboard.ReadFd());
  EXPECT_TRUE(input.Wait(0ms).keys.empty());

  keyboard.Type(" \x1b[");
  EXPECT_EQ(input.Wait(1s).keys, std::vector<KeyCommand>{KeyCommand::PauseResume});
  keyboard.Type("Cq");
  EXPECT_EQ(input.Wait(1s).keys, (std::vector<KeyCommand>{KeyCommand::Forward, KeyCommand::Quit}));

  keyboard.Close();
  const PlayerEvents atEnd = input.Wait(1s);
  EXPECT_TRUE(atEnd.keys.empty());
  EXPECT_EQ(atEnd.stopSignal, 0);
}

TEST(PlayerInputTest, StopSignalsEndTheWaitAndTheOldHandlerComesBack) {
  static volatile std::sig_atomic_t previousRan = 0;
  const auto previous = std::signal(SIGTERM, [](int) { previousRan = 1; });
  {
    StopSignals signals;
    PlayerInput input(signals, -1);
    EXPECT_EQ(input.Wait(0ms).stopSignal, 0);
    std::raise(SIGTERM);
    const PlayerEvents events = input.Wait(10s);
    EXPECT_EQ(events.stopSignal, SIGTERM);
    EXPECT_EQ(signals.Received(), SIGTERM);
    EXPECT_EQ(ExitStatusForSignal(events.stopSignal), 143);
  }
  EXPECT_EQ(previousRan, 0);
  std::raise(SIGTERM);
  EXPECT_EQ(previousRan, 1);
  std::signal(SIGTERM, previous);
}

TEST(PlayerInputTest, AWakeFromAnotherThreadEndsTheWaitOnce) {
  StopSignals signals;
  PlayerInput input(signals, -1);
  std::thread engine([&input] { input.Wake(); });
  EXPECT_TRUE(input.Wait(10s).woken);
  engine.join();
  EXPECT_FALSE(input.Wait(0ms).woken);
}

}  // namespace
}  // namespace velvasto::cli
