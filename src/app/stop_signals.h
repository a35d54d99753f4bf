#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP as a request to stop: the handler only writes the signal's
// number into a self-pipe, which the program's loop watches, so the program stops the way it
// always does — sound off, ports closed, settings kept. A second signal of the same kinds while
// the first is still being served ends the program at once, after the clean-up it names (at the
// least, the temporary files of writes in progress are removed), so a stop that hangs can still
// be broken off.
//
// One StopSignals object at a time; the previous signal actions come back when it goes away.

#include <csignal>

#include "app/self_pipe.h"
#include "core/replacement_file.h"

namespace velvasto {

class StopSignals {
 public:
  // Run in the signal handler before a second signal ends the program: async-signal-safe only.
  using EndAtOnce = void (*)() noexcept;

  // Throws CSystemErrMessage when the pipe or a handler cannot be set up.
  explicit StopSignals(EndAtOnce cleanUp = RemoveTemporaryFilesNow);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Readable once a stop signal arrived.
  int Fd() const { return pipe_.ReadFd(); }
  // The number of the first stop signal received, or 0.
  int Received() const;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

  SelfPipe pipe_;
  struct sigaction previous_[3] = {};
};

// The exit status of a program that stopped because of `signal`: 128 + its number, as a shell
// reports a program the signal ended.
constexpr int ExitStatusForSignal(int signal) { return 128 + signal; }

}  // namespace velvasto
