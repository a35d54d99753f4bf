#include "gui/monitor/meter_geometry.h"

#include <algorithm>

namespace velvasto::gui {

namespace {
// The sunken frame round every panel window is two pixels wide on the inside of the client
// rectangle, which ends one pixel early on the right and at the bottom.
constexpr int kFrameBelow = 3;
// Between the frame and what stands inside it, and between the text and the track.
constexpr int kTrackPadding = 4;
}  // namespace

ChannelGrid::ChannelGrid(const Rect& client)
    : cellWidth_(client.Width() / kColumns),
      cellHeight_(client.Height() / kRows),
      left_(client.left + (client.Width() - kColumns * cellWidth_) / 2),
      top_(client.top + (client.Height() - kRows * cellHeight_) / 2) {}

Rect ChannelGrid::ChannelBar(int channel) const {
  const int left = CellLeft(channel);
  return {left, CellTop(1), left + cellWidth_ - 2, CellTop(17)};
}

Rect ChannelGrid::Dot(int column, int rowFromBottom) const {
  const int top = CellTop(17 - rowFromBottom);
  const int left = CellLeft(column + 1);
  return Rect{left, top, left + cellWidth_, top + cellHeight_}.Shrunk(1);
}

Rect ChannelGrid::DotColumn(int column) const {
  const int left = CellLeft(column + 1);
  return {left, CellTop(1), left + cellWidth_, CellTop(17)};
}

BarFill VerticalBarFill(const Rect& bar, int value, int maximum) {
  value = std::clamp(value, 0, maximum);
  const int h = maximum > 0 ? bar.Height() * value / maximum : 0;
  BarFill fill{{bar.left + 1, bar.bottom - h, bar.right - 1, bar.bottom}, std::nullopt};
  if (value < maximum) fill.unlit = Rect{bar.left + 1, bar.top, bar.right - 1, bar.bottom - h + 1};
  return fill;
}

BarFill HorizontalBarFill(const Rect& bar, int value, int maximum) {
  value = std::clamp(value, 0, maximum);
  const int w = maximum > 0 ? bar.Width() * value / maximum : 0;
  BarFill fill{{bar.left, bar.top + 1, bar.left + w, bar.bottom - 1}, std::nullopt};
  if (value < maximum) fill.unlit = Rect{bar.left + w + 1, bar.top + 1, bar.right, bar.bottom - 1};
  return fill;
}

ScaleMarks ScaleMarksFor(const Rect& bar) {
  const int h = bar.Height();
  return {bar.top - 3, bar.top + h * 27 / 127 - 3, bar.top + h * 77 / 127 - 3, bar.bottom - 3};
}

Rect MasterBar(const Rect& client, int textHeight) {
  const int third = client.Width() / 3;
  const ChannelGrid grid(client);
  const int top = grid.ChannelBar(1).top;
  const int bottom = std::max(top, client.bottom - kFrameBelow - textHeight);
  return {client.left + third, top, client.right - third, bottom};
}

Rect MasterValueBox(const Rect& bar, int textWidth, int textHeight) {
  const int left = bar.left + (bar.Width() - textWidth) / 2;
  return {left, bar.bottom + 1, left + textWidth, bar.bottom + 1 + textHeight};
}

TrackMeterLayout TrackMeterLayoutFor(const Rect& client, int textWidth, int textHeight) {
  const Rect interior = SunkenFrameInterior({client.left, client.top, client.right - 1, client.bottom - 1});
  const int middle = (interior.top + interior.bottom) / 2;
  const int textTop = middle - textHeight / 2;
  const Rect text{interior.left + kTrackPadding, textTop, interior.left + kTrackPadding + textWidth,
                       textTop + textHeight};
  const int trackHeight = std::max(5, interior.Height() / 3);
  const int trackTop = middle - trackHeight / 2;
  const Rect track{std::min(text.right + kTrackPadding, interior.right), trackTop,
                        std::max(text.right + kTrackPadding, interior.right - kTrackPadding), trackTop + trackHeight};
  return {text, track};
}

std::uint32_t SecondsAt(const Rect& track, int x, std::uint32_t length) {
  const int width = track.Width();
  if (width <= 0) return 0;
  const auto offset = static_cast<std::uint64_t>(std::clamp(x - track.left, 0, width));
  return static_cast<std::uint32_t>((offset * length + static_cast<std::uint64_t>(width) / 2) / width);
}

std::vector<bool> LabelsThatFit(std::span<const int> centres, std::span<const int> widths) {
  std::vector<bool> drawn(std::min(centres.size(), widths.size()), false);
  int clearFrom = 0;  // the first x after the last label drawn and its gap
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    const int left = centres[k] - widths[k] / 2;
    if (k > 0 && left < clearFrom) continue;
    drawn[k] = true;
    clearFrom = left + widths[k] + 1;
  }
  return drawn;
}

std::array<FrameStroke, 8> SunkenFrameStrokes(const Rect& f) {
  // Each stroke is a line that ends one pixel short of its end point, as the lines of the frame
  // follow on from one another.
  return {{
      {FramePen::DarkShadow, {f.left + 1, f.top, f.right + 1, f.top + 1}},        // top, from the right
      {FramePen::DarkShadow, {f.left, f.top, f.left + 1, f.bottom}},              // left, downwards
      {FramePen::Highlight, {f.left, f.bottom, f.right, f.bottom + 1}},           // bottom, to the right
      {FramePen::Highlight, {f.right, f.top + 1, f.right + 1, f.bottom + 1}},     // right, upwards
      {FramePen::DarkShadow, {f.left + 2, f.top + 1, f.right, f.top + 2}},        // inner top
      {FramePen::DarkShadow, {f.left + 1, f.top + 1, f.left + 2, f.bottom - 1}},  // inner left
      {FramePen::Light, {f.left + 1, f.bottom - 1, f.right - 1, f.bottom}},       // inner bottom
      {FramePen::Light, {f.right - 1, f.top + 2, f.right, f.bottom}},             // inner right
  }};
}

Rect SunkenFrameInterior(const Rect& f) { return {f.left + 2, f.top + 2, f.right - 1, f.bottom - 1}; }

}  // namespace velvasto::gui
