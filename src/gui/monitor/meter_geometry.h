#pragma once
// Where the panel's windows draw, in client coordinates: the grid of 18 columns by 19 rows that
// the level meters and piano rolls share (column 0 for the scale, columns 1 to 16 for the
// channels, rows 1 to 16 for the bars and dots, the rows below for the channel numbers), the bar
// of a value, the scale marks, the master bar, the tempo and time meters' track, and the sunken
// frame that every window paints round itself.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gui/rect.h"

namespace velvasto::gui {

class ChannelGrid {
 public:
  static constexpr int kColumns = 18;
  static constexpr int kRows = 19;

  // Cells of width / 18 by height / 19 pixels, the remainder shared out as margins.
  explicit ChannelGrid(const Rect& client);

  // The bar of channel 1..16: one cell column wide less a 2-pixel gap, rows 1 to 16.
  Rect ChannelBar(int channel) const;
  // The dot of channel column 0..15 in row 1..16 counted from the bottom: its cell less one pixel
  // on every side.
  Rect Dot(int column, int rowFromBottom) const;
  // The cell column of channel column 0..15 over the 16 dot rows, frame of the dots included.
  Rect DotColumn(int column) const;

 private:
  int CellLeft(int column) const { return left_ + column * cellWidth_; }
  int CellTop(int row) const { return top_ + row * cellHeight_; }

  int cellWidth_;
  int cellHeight_;
  int left_;  // the grid's origin: client origin plus margin
  int top_;
};

// Which of a row of labels (the channel numbers under the columns) can be drawn without running
// into one another: label k is `widths[k]` pixels wide and centred at `centres[k]`, left to
// right. Going from the left, a label is drawn when it keeps a pixel clear of the last one
// drawn; the first always is.
std::vector<bool> LabelsThatFit(std::span<const int> centres, std::span<const int> widths);

// The two fills of a bar showing `value` of `maximum`, in drawing order: the value's part in the
// bar colour, then the rest (none when the bar is full) in the unlit colour. The unlit fill of a
// vertical bar covers the top row of the lit part.
struct BarFill {
  Rect lit;
  std::optional<Rect> unlit;
};
BarFill VerticalBarFill(const Rect& bar, int value, int maximum);
BarFill HorizontalBarFill(const Rect& bar, int value, int maximum);

// The tops of the scale texts "127", "100", " 50" and "  0" beside a bar of channel 1.
struct ScaleMarks {
  int y127;
  int y100;
  int y50;
  int y0;
};
ScaleMarks ScaleMarksFor(const Rect& bar);

// The master volume meter: a bar in the middle third of the width, from the channel bars' top
// row down to room for a line of `textHeight` pixels and the frame below it; and where its value
// stands, a `textWidth` × `textHeight` box centred under the bar, one pixel below it.
Rect MasterBar(const Rect& client, int textHeight);
Rect MasterValueBox(const Rect& bar, int textWidth, int textHeight);

// The tempo and time meters: a value as text on the left, `textWidth` pixels wide, and a
// horizontal track to its right, both vertically centred inside the sunken frame.
struct TrackMeterLayout {
  Rect text;
  Rect track;
};
TrackMeterLayout TrackMeterLayoutFor(const Rect& client, int textWidth, int textHeight);

// The whole second of a song `length` seconds long at `x` on `track` (clamped to the track), to
// the nearest second.
std::uint32_t SecondsAt(const Rect& track, int x, std::uint32_t length);

// What a window's frame takes on each side: the one-pixel border round the client, and the
// sunken frame's two pixels inside it. Content that is to be seen whole keeps within.
inline constexpr int kMeterBorder = 1;
inline constexpr int kSunkenFrameWidth = 2;
inline constexpr int kMeterFrameWidth = kMeterBorder + kSunkenFrameWidth;

// The eight one-pixel strokes of the sunken frame round `frame` (right and bottom being the last
// pixels it covers), in drawing order, and the interior that the frame leaves.
enum class FramePen { DarkShadow, Highlight, Light };
struct FrameStroke {
  FramePen pen;
  Rect area;
};
std::array<FrameStroke, 8> SunkenFrameStrokes(const Rect& frame);
Rect SunkenFrameInterior(const Rect& frame);

}  // namespace velvasto::gui
