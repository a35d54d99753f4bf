#pragma once
// Where the player controller hands the monitor entries of the playing song, sorted by kind:
// the meters of the desktop shell, the status line of the terminal player.

#include <cstdint>

#include "engine/monitor_entry.h"

namespace velvasto {

class MonitorSink {
 public:
  virtual ~MonitorSink() = default;

  // Note on and off, GS display and XG bitmap entries, for the piano roll of entry.port (0 A,
  // 1 B).
  virtual void NoteEvent(const MonitorEntry& entry) = 0;
  // Controller 7 as sent: the volume meter, and the channel's volume in the port's piano roll.
  virtual void ChannelVolume(const MonitorEntry& entry) = 0;
  // Controller 11: the expression meter, and the channel's expression in the port's piano roll.
  virtual void ChannelExpression(const MonitorEntry& entry) = 0;
  virtual void Tempo(std::uint32_t beatsPerMinute) = 0;
  // A master volume of port 0 or 1 that the port's lock lets through: the master volume meter,
  // and the master volume of the port's piano roll.
  virtual void MasterVolume(std::uint32_t port, std::uint32_t value) = 0;
  // The piano roll of `port` received entries since its last repaint.
  virtual void RepaintPianoRoll(std::uint32_t port) = 0;
  // The play position in whole seconds from the start of the song proper (the time meter).
  virtual void PlayTime(std::uint32_t seconds) = 0;
};

}  // namespace velvasto
