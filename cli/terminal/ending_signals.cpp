#include "cli/terminal/ending_signals.h"

#include <csignal>

#include "cli/terminal/terminal_restore.h"
#include "core/replacement_file.h"

namespace velvasto::cli {
namespace {

extern "C" void OnEndingSignal(int signal) {
  RemoveTemporaryFilesAndRestoreTerminalNow();
  // The handler was installed with SA_RESETHAND: the signal's default action is back.
  std::raise(signal);
}

}  // namespace

void RemoveTemporaryFilesAndRestoreTerminalNow() noexcept {
  RemoveTemporaryFilesNow();
  RestoreTerminalNow();
}

void RemoveTemporaryFilesOnEndingSignals() {
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace velvasto::cli
