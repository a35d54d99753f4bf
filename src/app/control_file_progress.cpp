#include "app/control_file_progress.h"

namespace velvasto {

std::string_view ControlFileSendingText(int kind) {
  switch (kind) {
    case 0:
      return "CM6 FILE SENDING";
    case 1:
      return "GSD FILE SENDING";
    default:
      return "GSD2 FILE SENDING";
  }
}

void ControlFileProgress::Open(int kind, std::uint32_t total) {
  active_ = true;
  label_ = ControlFileSendingText(kind);
  sent_ = 0;
  total_ = total;
}

void ControlFileProgress::Close() {
  active_ = false;
  label_ = {};
  sent_ = 0;
  total_ = 0;
}

}  // namespace velvasto
