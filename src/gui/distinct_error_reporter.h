#pragma once
// Passes each error text on to the user once; the same text again is dropped. The view's
// windows write their colours back as they go, each to the same settings file: when that file
// cannot be written, closing the program tells so once, not once per window.

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
