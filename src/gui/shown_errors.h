#pragma once
// Errors shown instead of passed on: no exception may cross the event loop, so the window's
// slots, event handlers and destructors run what may fail through RunShowingErrors.

#include <string>
#include <utility>

#include "engine/error_reporter.h"

namespace velvasto::gui {

// The text to show for the error being handled; only inside a catch block. The program's error
// classes show their own text, running out of memory and anything else the catalogue's.
std::string CaughtErrorText();

// Runs `step`; what it throws is shown through `reporter` and false returned. No exception
// leaves.
template <typename Step>
bool RunShowingErrors(ErrorReporter& reporter, Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (...) {
    reporter.ShowError(CaughtErrorText());
  }
  return false;
}

}  // namespace velvasto::gui
