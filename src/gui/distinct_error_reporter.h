#pragma once
// Passes each error text on to the user once; the same text again is dropped. Closing the
// program writes the window's position, the settings and every panel window's colours to the
// same settings file: when that file cannot be written, the user is told so once.

#include <set>
#include <string>

#include "engine/error_reporter.h"

namespace velvasto::gui {

class DistinctErrorReporter final : public ErrorReporter {
 public:
  // `target` shows the errors; it must outlive this reporter.
  explicit DistinctErrorReporter(ErrorReporter& target) : target_(target) {}

  void ShowError(const std::string& text) override {
    if (shown_.insert(text).second) target_.ShowError(text);
  }

 private:
  ErrorReporter& target_;
  std::set<std::string> shown_;
};

}  // namespace velvasto::gui
