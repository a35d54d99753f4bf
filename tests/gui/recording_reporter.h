#pragma once
// An error reporter that keeps the texts it was asked to show, for the widget tests.

#include <string>
#include <vector>

#include "engine/reporting_transport.h"

namespace velvasto::gui::test {

class RecordingReporter final : public ErrorReporter {
 public:
  void ShowError(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

}  // namespace velvasto::gui::test
