#pragma once
// Raw keyboard input for the terminal player: keys arrive one at a time, unechoed, without
// waiting for Enter. Ctrl-C and Ctrl-Z keep their usual meaning (see stop_signals.h).
//
// The terminal's settings are restored on every way out: when the object goes away (return or
// exception), on Ctrl-Z (and raw mode taken up again on fg), and on a signal that ends the
// program (SIGQUIT, SIGABRT from an uncaught exception, SIGSEGV ...), whose handler restores the
// terminal and lets the signal take its course (SIGPIPE included). One RawTerminal at a time.

namespace velvasto::cli {

class RawTerminal {
 public:
  // Raw mode for `fd` when it is a terminal; otherwise nothing changes and Active() is false.
  explicit RawTerminal(int fd);
  ~RawTerminal();
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;

  bool Active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace velvasto::cli
