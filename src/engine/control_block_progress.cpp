#include "engine/control_block_progress.h"

#include <algorithm>

namespace velvasto {

bool ControlBlockProgress::Observe(const MonitorEntry& entry) {
  switch (entry.kind) {
    case MonitorKind::Cm6Begin:
    case MonitorKind::GsdBegin:
    case MonitorKind::Gsd2Begin:
      label_ = entry.kind == MonitorKind::Cm6Begin   ? "CM6 FILE SENDING"
               : entry.kind == MonitorKind::GsdBegin ? "GSD FILE SENDING"
                                                     : "GSD2 FILE SENDING";
      total_ = entry.value;
      sent_ = 0;
      return true;
    case MonitorKind::BlockProgress:
      if (!Active() || entry.value == sent_) return false;
      sent_ = entry.value;
      return true;
    case MonitorKind::Cm6End:
    case MonitorKind::GsdEnd:
    case MonitorKind::Gsd2End:
      if (!Active()) return false;
      label_ = {};
      sent_ = 0;
      total_ = 0;
      return true;
    default:
      return false;
  }
}

double ControlBlockProgress::Fraction() const {
  if (total_ == 0) return Active() ? 1.0 : 0.0;
  return std::min(1.0, static_cast<double>(sent_) / total_);
}

}  // namespace velvasto
