#pragma once
// The monitor entries of the playing song go nowhere: what the view hands the player as its
// meters until the panel's meter windows take the entries.

#include "app/monitor_sink.h"

namespace velvasto::gui {

class DiscardingMonitor final : public MonitorSink {
 public:
  void NoteEvent(const MonitorEntry&) override {}
  void ChannelVolume(const MonitorEntry&) override {}
  void ChannelExpression(const MonitorEntry&) override {}
  void Tempo(std::uint32_t) override {}
  void MasterVolume(std::uint32_t, std::uint32_t) override {}
  void RepaintPianoRoll(std::uint32_t) override {}
  void PlayTime(std::uint32_t) override {}
};

}  // namespace velvasto::gui
