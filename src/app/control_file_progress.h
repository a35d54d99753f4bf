#pragma once
// What a display of a control file being sent shows: "CM6 FILE SENDING", "GSD FILE SENDING" or
// "GSD2 FILE SENDING" and how far the block is. The player controller opens it at a block's
// begin entry with the number of messages of the block, sets the messages sent at each progress
// entry and closes it at the end entry (PlayerView's control-file progress calls).

#include <cstdint>
#include <string_view>

namespace velvasto {

// The text of kind 0 (CM6), 1 (GSD) or 2 (GSD2).
std::string_view ControlFileSendingText(int kind);

class ControlFileProgress {
 public:
  void Open(int kind, std::uint32_t total);
  void Set(std::uint32_t sent) { sent_ = sent; }
  void Close();

  bool Active() const { return active_; }
  std::string_view Label() const { return label_; }
  std::uint32_t Sent() const { return sent_; }
  std::uint32_t Total() const { return total_; }

 private:
  bool active_ = false;
  std::string_view label_;
  std::uint32_t sent_ = 0;
  std::uint32_t total_ = 0;
};

}  // namespace velvasto
