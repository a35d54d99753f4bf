#pragma once
// What the terminal player's loop waits for: keys, a stop signal, or a wake-up from another
// thread (the engine's notification queue calls Wake when a notice arrives). One poll() on all
// three, so the loop sleeps until something happens.

#include <chrono>
#include <vector>

#include "app/self_pipe.h"
#include "app/stop_signals.h"
#include "cli/terminal/key_decoder.h"

namespace velvasto::cli {

struct PlayerEvents {
  std::vector<KeyCommand> keys;
  // The stop signal received (see stop_signals.h), or 0.
  int stopSignal = 0;
  // Wake() was called since the last Wait.
  bool woken = false;
};

class PlayerInput {
 public:
  // Keys are read from `keyFd` (standard input, in raw mode when it is a terminal); -1 reads no
  // keys. At the end of the key input (a pipe or file that ends) keys are no longer watched.
  // Throws CSystemErrMessage when the wake-up pipe cannot be made.
  PlayerInput(const StopSignals& signals, int keyFd);

  // Waits at most `timeout` for anything to happen and returns it; empty after the timeout.
  PlayerEvents Wait(std::chrono::milliseconds timeout);
  // Callable from any thread: ends the current Wait, or makes the next one return at once.
  void Wake() const noexcept { wake_.Notify(1); }

 private:
  void ReadKeys(std::vector<KeyCommand>& keys);

  const StopSignals& signals_;
  int keyFd_;
  KeyDecoder decoder_;
  SelfPipe wake_;
};

}  // namespace velvasto::cli
