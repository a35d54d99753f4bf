#pragma once
// The conversion of a Recomposer song (RCP or G36, as read into RcpSong) into the event table.
// A track is a small program: notes with a step (ticks to the next command) and a gate
// (sounding length), loops, references to other measures and exclusive templates. The
// converter runs all tracks together, tick by tick, and writes what they produce with times in
// microseconds. It runs twice per load: the counting pass only counts the records, the filling
// pass stores them; both take the same decisions, so the count is exact.
//
// Ticks in which nothing happens are not visited: the walk goes straight to the next tick at
// which a track has a command due or a note ends. The clock carries its remainder exactly, so
// the times are those of a walk over every tick.
//
// Every pass ends within the limits of RcpPassLimits (rcp_limits.h).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "song/channel_converter.h"
#include "song/note_table.h"
#include "song/rcp_limits.h"
#include "song/rcp_song.h"
#include "song/tick_clock.h"

namespace velvasto {

class CRCPFile;

class RcpConverter final : private ChannelMessageSink {
 public:
  // Loops a track may nest.
  static constexpr std::size_t kMaxLoopDepth = 5;

  // `fill`: store the records in `file`'s table (the table must hold the count of the
  // counting pass); else only count them.
  RcpConverter(CRCPFile& file, bool fill);

  // Runs the pass. Throws the file kind's damaged-file error (30 RCP, 55 G36) when a track runs
  // past its last record or the pass runs past its command or time limit, error 1 when it
  // would write more records than its limit.
  void Run();

  // Records produced by the pass, the end record included.
  std::uint32_t RecordCount() const { return writeIndex_; }

 private:
  struct LoopEntry {
    std::uint32_t start;        // index of the loop start record
    std::uint32_t remaining;    // rounds left; 0 until the loop end is first reached
    bool savedReturnActive;     // the same-measure return when the loop started
    std::uint32_t savedReturn;
    bool measureEndSeen;
  };

  struct TrackState {
    std::uint64_t due = 0;     // tick at which the next command runs
    std::uint32_t index = 0;   // next record to run
    bool finished = false;
    std::uint8_t channel = 0;  // 0..15, or 255: the track sends no channel messages
    std::uint8_t port = 0;     // 0 port A, 1 port B
    std::array<std::uint8_t, 11> roland{};
    std::array<std::uint8_t, 10> yamaha{};
    // Where a measure end returns to after a same-measure reference (index of the 0xFC).
    bool returnActive = false;
    std::uint32_t returnIndex = 0;
    // The reference return a loop restores for the rounds after its first.
    bool restoredActive = false;
    std::uint32_t restoredIndex = 0;
    std::size_t loopDepth = 0;
    std::array<LoopEntry, kMaxLoopDepth> loops{};
  };

  class BlockMessages;

  void InitTracks();
  // The control-file blocks, CM6, GSD and GSD2, as far as their files are loaded and their
  // ports in use (rcp_converter_blocks.cpp).
  void WriteControlBlocks();
  // The port (0 A, 1 B) a control block of the port setting `setting` goes to, or -1 when the
  // block is not sent.
  int ControlBlockPort(int setting) const;
  // Pauses of a control block: `ticks` at the current tempo, and the final pause of 500,000 µs.
  void PauseTicks(std::uint64_t ticks);
  void FinalPause(bool lastBlock);
  // Where the tempo map of the table stands at song tick `tick` (filling pass only).
  void RecordTempo(std::uint64_t tick);
  // Runs every command of track `t` due at `tick`.
  void RunTrack(std::size_t t, std::uint64_t tick);
  // Runs one record; returns whether it takes its step.
  bool Execute(std::size_t t, const RcpRecord& record, std::uint64_t tick);
  bool ExecuteChannelCommand(TrackState& track, const RcpRecord& record);
  void NoteOn(std::size_t t, std::uint8_t note, std::uint16_t gate, std::uint8_t velocity, std::uint64_t tick);
  void SendUserExclusive(const TrackState& track, std::size_t pattern, const RcpRecord& record);
  void SendTrackExclusive(std::size_t t, const RcpRecord& record);
  void LoopStart(TrackState& track);
  void LoopEnd(TrackState& track, const RcpRecord& record);
  void MeasureEnd(TrackState& track);
  void SameMeasure(std::size_t t, const RcpRecord& record);
  void Finish(TrackState& track);
  [[noreturn]] void ThrowDamaged() const;

  // Output. Messages of a port-B track are dropped when the song uses one port.
  void EmitShort(std::uint8_t port, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  void EmitSysEx(std::uint8_t port, std::span<const std::uint8_t> bytes);
  void EmitTempo();
  void EmitMarker(std::uint8_t port, std::uint32_t subtype);
  void EmitEnd();
  void NextRecord();
  // ChannelMessageSink: what the bank handling produces, on the current track's port.
  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
  void SysEx(std::span<const std::uint8_t> bytes) override;

  CRCPFile& file_;
  const RcpSong& song_;
  const bool fill_;
  const int portCount_;
  const std::uint32_t loopLimit_;
  const RcpPassLimits limits_;
  ChannelConverter channels_;
  TickClock clock_;
  NoteTable notes_;
  std::vector<TrackState> tracks_;
  std::vector<std::uint8_t> exclusive_;
  std::uint32_t writeIndex_ = 0;
  std::uint64_t commands_ = 0;
  std::size_t finishedTracks_ = 0;
  std::uint8_t currentPort_ = 0;
  // Ticks given to the pauses of the control blocks; the song's tick 0 follows them.
  std::uint64_t blockTicks_ = 0;
};

}  // namespace velvasto
