#include "gui/ending_signals.h"

#include <utility>

namespace velvasto::gui {

EndingSignals::EndingSignals(std::function<void()> end)
    : notifier_(signals_.Fd(), QSocketNotifier::Read) {
  QObject::connect(&notifier_, &QSocketNotifier::activated, [this, end = std::move(end)] {
    // The pipe stays readable; the notifier is done with it after the first signal.
    notifier_.setEnabled(false);
    end();
  });
}

}  // namespace velvasto::gui
