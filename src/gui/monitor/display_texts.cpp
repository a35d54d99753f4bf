#include "gui/monitor/display_texts.h"

#include <cstdio>

namespace velvasto::gui {

std::string PlayTimeText(std::uint32_t seconds) {
  char text[24];
  std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>(seconds / 60),
                static_cast<unsigned>(seconds % 60));
  return text;
}

std::string_view RepeatText(int loopMode) {
  switch (loopMode) {
    case 0:
      return "Norm.";
    case 1:
      return "Rep.";
    case 2:
      return "Rand.";
    default:
      return {};
  }
}

std::string_view MonitorPortText(int port) { return port == 0 ? " A " : " B "; }

std::string_view DdModeText(int ddMode) { return ddMode == 0 ? "New" : "Add"; }

std::string_view PortSetText(std::string_view label) { return label.empty() ? "Default" : label; }

}  // namespace velvasto::gui
