// Loops, same-measure references and measure ends: the commands that move a track's record
// index instead of producing anything.

#include "song/rcp_converter.h"

namespace velvasto {

namespace {

constexpr std::uint8_t kSameMeasure = 0xFC;
constexpr std::uint8_t kMeasureEnd = 0xFD;

bool EndsMeasure(std::uint8_t command) { return command == kMeasureEnd || command == kSameMeasure; }

}  // namespace

void RcpConverter::LoopStart(TrackState& track) {
  if (track.loopDepth >= kMaxLoopDepth) return;
  track.loops[track.loopDepth++] = {track.index - 1, 0, track.returnActive, track.returnIndex, false};
}

void RcpConverter::LoopEnd(TrackState& track, const RcpRecord& record) {
  if (track.loopDepth == 0) return;
  LoopEntry& loop = track.loops[track.loopDepth - 1];
  if (loop.remaining == 0) {
    // The count stands in the step byte (G36: the step field's low byte); 0 plays the loop as
    // often as the loop limit allows.
    loop.remaining = record.step & 0xFFu;
    if (loop.remaining == 0 || loop.remaining > loopLimit_) loop.remaining = loopLimit_;
  }
  if (--loop.remaining == 0) {
    --track.loopDepth;
    return;
  }
  if (track.returnActive && loop.measureEndSeen) track.returnActive = false;
  if (loop.savedReturnActive) {
    track.restoredActive = true;
    track.restoredIndex = loop.savedReturn;
  }
  track.index = loop.start + 1;
}

void RcpConverter::MeasureEnd(TrackState& track) {
  if (track.loopDepth > 0) track.loops[track.loopDepth - 1].measureEndSeen = true;
  if (track.returnActive) {
    track.index = track.returnIndex + 1;
    track.returnActive = false;
    track.restoredActive = false;
  } else if (track.restoredActive) {
    track.index = track.restoredIndex + 1;
    track.restoredActive = false;
  }
}

void RcpConverter::SameMeasure(std::size_t t, const RcpRecord& record) {
  TrackState& track = tracks_[t];
  const std::vector<RcpRecord>& records = song_.tracks[t].records;
  const std::uint32_t current = track.index - 1;
  // A 0xFC that does not stand on a measure line of its own closes a referenced measure.
  if (current > 0 && !EndsMeasure(records[current - 1].command)) {
    MeasureEnd(track);
    return;
  }
  std::uint32_t target = record.target;
  if (target == current) return;
  // A reference to a measure that is itself a reference is followed to the measure played; one
  // that goes round in a circle is damage. A reference to no record of the track, and a chain
  // that comes to record 0, is cancelled: the command ends the measure. A direct reference to
  // record 0 plays the track's first measure again.
  for (std::size_t hops = 0; target != RcpRecord::kNoTarget && records[target].command == kSameMeasure; ++hops) {
    if (hops >= records.size() || ++commands_ > limits_.maxCommands) ThrowDamaged();
    target = records[target].target;
    if (target == 0) target = RcpRecord::kNoTarget;
  }
  if (target == RcpRecord::kNoTarget) {
    MeasureEnd(track);
    return;
  }
  track.returnActive = true;
  track.returnIndex = current;
  track.index = target;
}

}  // namespace velvasto
