#pragma once
// SIGTERM, SIGINT and SIGHUP end the desktop program the way the end of a desktop session does:
// the window ends without asking, the song stops, the window's position and the settings are
// saved, and the program exits with status 0. A second signal while that is under way ends the
// program at once, with the temporary files of writes in progress removed.

#include <QSocketNotifier>
#include <functional>

#include "app/stop_signals.h"

namespace velvasto::gui {

class EndingSignals {
 public:
  // `end` runs on the window's thread, once, when the first signal has arrived. Throws
  // CSystemErrMessage when the handlers cannot be set up.
  explicit EndingSignals(std::function<void()> end);
  EndingSignals(const EndingSignals&) = delete;
  EndingSignals& operator=(const EndingSignals&) = delete;

 private:
  StopSignals signals_;
  QSocketNotifier notifier_;
};

}  // namespace velvasto::gui
