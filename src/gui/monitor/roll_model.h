#pragma once
// What a piano roll shows: a 16 × 16 dot display in the manner of a sound module's front panel.
// Each column is the level bar of one channel of the port, lit by its notes and weighted by the
// channel's volume and expression and the port's master volume, with a peak dot above it; both
// fall by a step on every refresh tick. A GS dot-display or XG display-bitmap message replaces
// the bars with its picture for 30 ticks.
//
// Entries are collected into a batch and applied together when the batch ends; the model says
// which columns then changed on screen, so that only those are repainted.

#include <array>
#include <cstdint>
#include <span>

namespace velvasto::gui {

// A dot picture, row by row from the top; bit c of a row is column c, left to right.
using DotBitmap = std::array<std::uint16_t, 16>;

// The level of a note of `velocity`: velocity × volume × expression × master / 127³.
std::uint32_t NoteLevel(std::uint32_t velocity, std::uint32_t volume, std::uint32_t expression, std::uint32_t master);
// Dots lit from the bottom for `level`: 0 for silence, one per 9 levels begun, at most 14.
int LitRows(std::uint32_t level);
// The row, counted from the bottom (1..16), of the peak dot for `peak` 1..254; 0 for no dot.
int PeakRow(std::uint32_t peak);
// A level or peak one refresh tick later.
std::uint32_t Aged(std::uint32_t value);
// The picture of a GS dot-display message's 64 data bytes (5 dots a byte).
DotBitmap GsDots(std::span<const std::uint8_t, 64> data);
// The picture of the 48-byte XG display bitmap (7 dots a byte).
DotBitmap XgDots(const std::array<std::uint8_t, 48>& data);

class RollModel {
 public:
  static constexpr int kColumns = 16;
  static constexpr int kRows = 16;
  static constexpr int kBitmapHoldTicks = 30;

  // Columns to repaint, bit c for column c.
  using Columns = std::uint16_t;
  static constexpr Columns kAllColumns = 0xFFFF;

  RollModel() { Reset(); }

  // Back to silence and bars: volume and expression 100, master 127, nothing sounding, no
  // picture. The caller repaints every column.
  void Reset();

  // Entries of the batch; channels outside 0..15 are ignored.
  void NoteOn(int channel, std::uint32_t velocity);
  void NoteOff(int channel);
  void GsDisplay(std::span<const std::uint8_t, 64> data);
  // XG display-bitmap bytes written from `offset` of the 48-byte bitmap; what lies beyond it is
  // cut.
  void XgBitmap(std::uint32_t offset, std::span<const std::uint8_t> data);

  void SetVolume(int channel, std::uint32_t volume);
  void SetExpression(int channel, std::uint32_t expression);
  void SetMaster(std::uint32_t master) { master_ = master; }

  // The batch ends: its notes set the levels and peaks.
  Columns ApplyBatch();
  // One refresh tick: levels and peaks fall, a picture's time runs down. Ticks that come between
  // an entry and the end of its batch do nothing.
  Columns Tick();

  // Whether the dot of `column` in row 1..16 from the bottom is lit now.
  bool Lit(int column, int rowFromBottom) const;
  bool ShowingBitmap() const { return hold_ > 0; }
  std::uint32_t Level(int column) const { return channels_[column].level; }
  std::uint32_t Peak(int column) const { return channels_[column].peak; }

 private:
  struct Channel {
    std::uint32_t volume = 100;
    std::uint32_t expression = 100;
    std::uint32_t sounding = 0;
    std::uint32_t level = 0;
    std::uint32_t peak = 0;
    // What the screen shows of the bar: blank after a reset, which repaints everything; -1 while
    // a picture covers it, so that it is repainted when the picture goes.
    int drawnRows = 0;
    int drawnPeakRow = 0;
    // The batch: its loudest note, and whether the last sounding note ended in it (after a note
    // of the batch, or without one).
    std::uint32_t batchVelocity = 0;
    bool ended = false;
    bool endedSilent = false;
  };

  void BitmapArrived();
  // Columns whose bar differs from what was drawn; they count as drawn afterwards.
  Columns ChangedBars();

  std::array<Channel, kColumns> channels_;
  std::uint32_t master_ = 127;
  int hold_ = 0;
  bool pending_ = false;
  DotBitmap bitmap_{};
  std::array<std::uint8_t, 48> xgBuffer_{};
};

}  // namespace velvasto::gui
