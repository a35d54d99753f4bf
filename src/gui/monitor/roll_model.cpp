#include "gui/monitor/roll_model.h"

#include <algorithm>

namespace velvasto::gui {

namespace {

constexpr std::uint32_t kAgeStep = 14;
constexpr int kMaxLitRows = 14;
constexpr std::uint32_t kPeakRowStep = 18;
// From this peak on the dot stands in the top row.
constexpr std::uint32_t kTopPeak = 235;

bool ValidChannel(int channel) { return channel >= 0 && channel < RollModel::kColumns; }

void SetDot(DotBitmap& bitmap, int row, int column) {
  if (row < RollModel::kRows) bitmap[row] |= static_cast<std::uint16_t>(1u << column);
}

}  // namespace

std::uint32_t NoteLevel(std::uint32_t velocity, std::uint32_t volume, std::uint32_t expression, std::uint32_t master) {
  const std::uint64_t product = std::uint64_t{velocity} * volume * expression * master;
  return static_cast<std::uint32_t>(product / (127u * 127u * 127u));
}

int LitRows(std::uint32_t level) { return static_cast<int>(std::min<std::uint32_t>((level + 8) / 9, kMaxLitRows)); }

int PeakRow(std::uint32_t peak) {
  if (peak == 0) return 0;
  if (peak >= kTopPeak) return RollModel::kRows;
  return 2 + static_cast<int>((peak - 1) / kPeakRowStep);
}

std::uint32_t Aged(std::uint32_t value) { return value < kAgeStep ? 0 : value - kAgeStep; }

DotBitmap GsDots(std::span<const std::uint8_t, 64> data) {
  DotBitmap dots{};
  for (int i = 0; i < 64; ++i) {
    const int column = 15 - i % 16;
    const int block = i / 16;
    // The last block holds only the bottom row, in its top bit.
    const int lowestBit = block == 3 ? 4 : 0;
    for (int bit = 4; bit >= lowestBit; --bit) {
      if (data[i] & (1u << bit)) SetDot(dots, 5 * block + (4 - bit), column);
    }
  }
  return dots;
}

DotBitmap XgDots(const std::array<std::uint8_t, 48>& data) {
  DotBitmap dots{};
  for (int block = 0; block < 3; ++block) {
    for (int column = 0; column < 16; ++column) {
      const std::uint8_t byte = data[16 * block + column];
      for (int bit = 6; bit >= 0; --bit) {
        if (byte & (1u << bit)) SetDot(dots, 7 * block + (6 - bit), column);
      }
    }
  }
  return dots;
}

void RollModel::Reset() {
  channels_ = {};
  master_ = 127;
  hold_ = 0;
  pending_ = false;
  bitmap_ = {};
  xgBuffer_ = {};
}

void RollModel::NoteOn(int channel, std::uint32_t velocity) {
  pending_ = true;
  if (!ValidChannel(channel)) return;
  Channel& c = channels_[channel];
  c.batchVelocity = std::max(c.batchVelocity, velocity);
  ++c.sounding;
}

void RollModel::NoteOff(int channel) {
  pending_ = true;
  if (!ValidChannel(channel)) return;
  Channel& c = channels_[channel];
  if (c.sounding == 0) return;
  if (--c.sounding > 0) return;
  if (c.batchVelocity != 0) {
    c.ended = true;
  } else {
    c.endedSilent = true;
  }
}

void RollModel::GsDisplay(std::span<const std::uint8_t, 64> data) {
  bitmap_ = GsDots(data);
  BitmapArrived();
}

void RollModel::XgBitmap(std::uint32_t offset, std::span<const std::uint8_t> data) {
  if (offset < xgBuffer_.size()) {
    const std::size_t count = std::min<std::size_t>(data.size(), xgBuffer_.size() - offset);
    std::copy_n(data.begin(), count, xgBuffer_.begin() + offset);
  }
  bitmap_ = XgDots(xgBuffer_);
  BitmapArrived();
}

void RollModel::BitmapArrived() {
  pending_ = true;
  hold_ = kBitmapHoldTicks;
}

void RollModel::SetVolume(int channel, std::uint32_t volume) {
  if (ValidChannel(channel)) channels_[channel].volume = volume;
}

void RollModel::SetExpression(int channel, std::uint32_t expression) {
  if (ValidChannel(channel)) channels_[channel].expression = expression;
}

RollModel::Columns RollModel::ApplyBatch() {
  for (Channel& c : channels_) {
    if (c.endedSilent) c.level = 0;
    if (c.batchVelocity > 0) {
      c.level = NoteLevel(c.batchVelocity, c.volume, c.expression, master_);
      c.peak = std::max(c.peak, 2 * c.level);
    }
    if (c.ended) c.level = 0;
    c.batchVelocity = 0;
    c.ended = false;
    c.endedSilent = false;
  }
  pending_ = false;
  if (hold_ == kBitmapHoldTicks) {
    // The picture covers the bars; they are repainted in full when it goes.
    for (Channel& c : channels_) c.drawnRows = c.drawnPeakRow = -1;
    return kAllColumns;
  }
  return hold_ == 0 ? ChangedBars() : 0;
}

RollModel::Columns RollModel::Tick() {
  if (pending_) return 0;
  for (Channel& c : channels_) {
    c.level = Aged(c.level);
    c.peak = Aged(c.peak);
  }
  if (hold_ == 0) return ChangedBars();
  --hold_;
  return hold_ == 0 ? ChangedBars() : 0;
}

RollModel::Columns RollModel::ChangedBars() {
  Columns changed = 0;
  for (int column = 0; column < kColumns; ++column) {
    Channel& c = channels_[column];
    const int rows = LitRows(c.level);
    const int peakRow = PeakRow(c.peak);
    if (rows == c.drawnRows && peakRow == c.drawnPeakRow) continue;
    c.drawnRows = rows;
    c.drawnPeakRow = peakRow;
    changed |= static_cast<Columns>(1u << column);
  }
  return changed;
}

bool RollModel::Lit(int column, int rowFromBottom) const {
  if (hold_ > 0) return (bitmap_[kRows - rowFromBottom] >> column) & 1u;
  const Channel& c = channels_[column];
  return rowFromBottom <= LitRows(c.level) || rowFromBottom == PeakRow(c.peak);
}

}  // namespace velvasto::gui
