#include "cli/terminal/raw_terminal.h"

#include <pthread.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

#include "cli/terminal/terminal_restore.h"

namespace velvasto::cli {
namespace {

// Read by the signal handlers: set before the handlers are installed, cleared after they are
// removed.
int g_fd = -1;
struct termios g_saved;
struct termios g_raw;
volatile std::sig_atomic_t g_armed = 0;

// Signals whose default action ends the program (with or without a core file).
constexpr int kFatalSignals[] = {SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGPIPE};
struct sigaction g_previousFatal[std::size(kFatalSignals)];
struct sigaction g_previousStop;

extern "C" void OnFatalSignal(int signal) {
  RestoreTerminalNow();
  // The handler was installed with SA_RESETHAND: the signal's default action is back.
  std::raise(signal);
}

extern "C" void OnTerminalStop(int) {
  const int savedErrno = errno;
  RestoreTerminalNow();
  std::signal(SIGTSTP, SIG_DFL);
  // SIGTSTP is blocked while its handler runs: let the stop through now, or it would wait for
  // the handler's return and meet the handler again.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);
  std::raise(SIGTSTP);
  // Continued (fg): take raw mode up again and catch the next Ctrl-Z.
  struct sigaction action = {};
  action.sa_handler = OnTerminalStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTSTP, &action, nullptr);
  if (g_armed) ::tcsetattr(g_fd, TCSADRAIN, &g_raw);
  errno = savedErrno;
}

}  // namespace

void RestoreTerminalNow() noexcept {
  if (g_armed) ::tcsetattr(g_fd, TCSADRAIN, &g_saved);
}

RawTerminal::RawTerminal(int fd) {
  if (g_armed || !::isatty(fd) || ::tcgetattr(fd, &g_saved) != 0) return;
  g_raw = g_saved;
  g_raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  g_raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
  g_raw.c_cc[VMIN] = 1;
  g_raw.c_cc[VTIME] = 0;
  g_fd = fd;

  struct sigaction fatal = {};
  fatal.sa_handler = OnFatalSignal;
  sigemptyset(&fatal.sa_mask);
  fatal.sa_flags = SA_RESETHAND | SA_NODEFER;
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) ::sigaction(kFatalSignals[i], &fatal, &g_previousFatal[i]);
  struct sigaction stop = {};
  stop.sa_handler = OnTerminalStop;
  sigemptyset(&stop.sa_mask);
  stop.sa_flags = SA_RESTART;
  ::sigaction(SIGTSTP, &stop, &g_previousStop);

  g_armed = 1;
  if (::tcsetattr(fd, TCSADRAIN, &g_raw) != 0) {
    g_armed = 0;
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) ::sigaction(kFatalSignals[i], &g_previousFatal[i], nullptr);
    ::sigaction(SIGTSTP, &g_previousStop, nullptr);
    return;
  }
  active_ = true;
}

RawTerminal::~RawTerminal() {
  if (!active_) return;
  RestoreTerminalNow();
  g_armed = 0;
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) ::sigaction(kFatalSignals[i], &g_previousFatal[i], nullptr);
  ::sigaction(SIGTSTP, &g_previousStop, nullptr);
}

}  // namespace velvasto::cli
