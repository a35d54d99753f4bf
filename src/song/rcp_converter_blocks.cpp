// The control-file blocks at the head of a Recomposer song's table: each loaded control file is
// sent as a run of messages, bracketed by marker records, on the port its setting chooses.
// After the begin marker and after every message but the last the clock advances by the pacing:
// tempo × 8 / 100 + 1 times the length of one tick at the header tempo, the remainder carried
// once a pause (at tempo 120 and time base 48: 104,160, 104,170, 104,170, .. µs); the tick
// counter does not move. The last message is followed by 500,000 µs. The song's first tick falls where the last block
// ends.
//
// For the tempo map the pacing pauses are ticks at the header tempo and each final pause is one
// quarter note of 500,000 µs; the last block's final pause is stretched, keeping its length in
// time, so that the song starts on a bar line.

#include <algorithm>
#include <vector>

#include "song/control_blocks.h"
#include "song/rcp_converter.h"
#include "song/rcp_file.h"

namespace velvasto {

namespace {

constexpr std::uint64_t kFinalPauseUs = 500'000;

struct BlockKind {
  CMIDIStream::ControlBlock block;
  const std::vector<std::uint8_t>* data;
  int portSetting;
  std::uint32_t beginMarker;
};

}  // namespace

// Writes the messages of one block, each after the pacing pause that follows the one before.
class RcpConverter::BlockMessages final : public ControlMessageSink {
 public:
  BlockMessages(RcpConverter& converter, std::uint8_t port, std::uint64_t pacing)
      : converter_(converter), port_(port), pacing_(pacing) {}

  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    BeforeMessage();
    converter_.EmitShort(port_, status, data1, data2);
  }
  void SysEx(std::span<const std::uint8_t> bytes) override {
    BeforeMessage();
    converter_.EmitSysEx(port_, bytes);
  }
  std::uint32_t Count() const { return count_; }

 private:
  void BeforeMessage() {
    if (count_++ != 0) converter_.PauseTicks(pacing_);
  }

  RcpConverter& converter_;
  const std::uint8_t port_;
  const std::uint64_t pacing_;
  std::uint32_t count_ = 0;
};

int RcpConverter::ControlBlockPort(int setting) const {
  if (setting == 1) return 0;
  if (setting == 2 && portCount_ == 2) return 1;
  return -1;
}

void RcpConverter::PauseTicks(std::uint64_t ticks) {
  clock_.AdvanceTicksCarriedOnce(ticks);
  blockTicks_ += ticks;
}

void RcpConverter::FinalPause(bool lastBlock) {
  // One quarter note, or for the last block as many ticks more as reach the next bar line.
  const std::uint64_t quarter = song_.timeBase;
  std::uint64_t ticks = quarter;
  if (lastBlock) {
    const std::uint64_t beat = song_.beatNumerator == 0 || song_.beatDenominator == 0
                                   ? quarter
                                   : quarter * 4 / song_.beatDenominator;
    const std::uint64_t measure = song_.beatNumerator == 0 || song_.beatDenominator == 0
                                      ? quarter * 4
                                      : beat * song_.beatNumerator;
    if (measure != 0) ticks += (measure - (blockTicks_ + ticks) % measure) % measure;
  }
  if (fill_ && ticks != 0) {
    const double quarterUs = static_cast<double>(kFinalPauseUs) * static_cast<double>(quarter) / static_cast<double>(ticks);
    file_.MutableTempos().AddSegment({blockTicks_, clock_.Time(), clock_.Fraction(), quarterUs});
  }
  clock_.AdvanceTime(kFinalPauseUs);
  blockTicks_ += ticks;
  RecordTempo(0);
}

void RcpConverter::WriteControlBlocks() {
  const SongSettings& settings = file_.Settings();
  const BlockKind kinds[] = {
      {CMIDIStream::kCm6Block, &song_.cm6Data, settings.cm6Port, kMarkerCm6Begin},
      {CMIDIStream::kGsdBlock, &song_.gsdData, settings.gsdPort, kMarkerGsdBegin},
      {CMIDIStream::kGsd2Block, &song_.gsd2Data, settings.gsd2Port, kMarkerGsd2Begin},
  };
  const std::uint64_t pacing = std::uint64_t{song_.tempo} * 8 / 100 + 1;
  const auto sent = [this](const BlockKind& kind) { return !kind.data->empty() && ControlBlockPort(kind.portSetting) >= 0; };
  const auto* const last = std::find_if(std::rbegin(kinds), std::rend(kinds), sent).base();

  // The first block also counts the tempo record that opens the table.
  std::uint32_t blockStart = 0;
  std::uint64_t blockStartUs = 0;
  for (const BlockKind* kind = std::begin(kinds); kind != std::end(kinds); ++kind) {
    if (!sent(*kind)) {
      file_.SetControlBlock(kind->block, 0, 0, 0);
      continue;
    }
    const auto port = static_cast<std::uint8_t>(ControlBlockPort(kind->portSetting));
    EmitMarker(port, kind->beginMarker);
    PauseTicks(pacing);
    BlockMessages messages(*this, port, pacing);
    if (kind->block == CMIDIStream::kCm6Block) {
      WriteCm6Messages(*kind->data, messages);
    } else {
      WriteGsdMessages(*kind->data, messages);
    }
    FinalPause(kind + 1 == last);
    EmitMarker(port, kind->beginMarker + 1);
    file_.SetControlBlock(kind->block, writeIndex_ - blockStart, clock_.Time() - blockStartUs, messages.Count());
    blockStart = writeIndex_;
    blockStartUs = clock_.Time();
  }
}

}  // namespace velvasto
