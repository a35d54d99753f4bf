#pragma once
// A pipe a thread or a signal handler writes one byte into to wake a loop that waits in poll()
// on its read end. Both ends are non-blocking: a full pipe already holds a wake-up, so a write
// that finds it full loses nothing.

#include "app/unique_fd.h"

namespace velvasto {

class SelfPipe {
 public:
  // Throws CSystemErrMessage when the pipe cannot be made.
  SelfPipe();

  // Async-signal-safe; callable from any thread.
  void Notify(unsigned char byte) const noexcept;
  // The descriptor to poll for reading.
  int ReadFd() const { return read_.Get(); }
  // Empties the pipe; returns the last byte read, or -1 when it was empty.
  int Drain() const noexcept;

 private:
  UniqueFd read_;
  UniqueFd write_;
};

}  // namespace velvasto
