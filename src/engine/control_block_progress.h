#pragma once
// What a display of the control block being sent shows ("CM6 FILE SENDING" and a progress
// bar), followed from the monitor entries the engine writes: a begin entry with the number of
// messages of the block, a progress entry per message sent, an end entry.

#include <cstdint>
#include <string_view>

#include "engine/monitor_entry.h"

namespace velvasto {

class ControlBlockProgress {
 public:
  // Takes one monitor entry; returns whether what is shown changed. Entries of other kinds
  // change nothing.
  bool Observe(const MonitorEntry& entry);

  // Whether a control block is being sent.
  bool Active() const { return !label_.empty(); }
  // "CM6 FILE SENDING", "GSD FILE SENDING" or "GSD2 FILE SENDING"; empty while none is sent.
  std::string_view Label() const { return label_; }
  std::uint32_t Sent() const { return sent_; }
  std::uint32_t Total() const { return total_; }
  // Messages sent of those of the block, from 0 to 1.
  double Fraction() const;

 private:
  std::string_view label_;
  std::uint32_t sent_ = 0;
  std::uint32_t total_ = 0;
};

}  // namespace velvasto
