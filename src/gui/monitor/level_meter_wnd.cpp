#include "gui/monitor/level_meter_wnd.h"

#include <QPainter>
#include <algorithm>

namespace velvasto::gui {

void CVolBaseMeterWnd::Take(std::uint32_t port, std::int32_t channel, std::uint32_t value) {
  if (port >= values_.size() || channel < 0 || channel >= 16) return;
  std::uint32_t& stored = values_[port][channel];
  if (stored == value) return;
  stored = value;
  if (port == monitoredPort_) UpdateClient(ChannelBar(channel + 1));
}

void CVolBaseMeterWnd::SetMonitoredPort(std::uint32_t port) {
  if (port >= values_.size() || port == monitoredPort_) return;
  monitoredPort_ = port;
  update();
}

void CVolBaseMeterWnd::SetAll(std::uint32_t value) {
  for (auto& port : values_) port.fill(value);
  update();
}

std::vector<PopupItem> CVolBaseMeterWnd::OwnColourItems() const {
  return {{meter_cmd::kTrackColour, QStringLiteral("トラック色の変更")}};
}

void CVolBaseMeterWnd::ColourChanged(ColourRole role) {
  // The unlit part of a bar is the background; fore-B follows it.
  if (role == ColourRole::Back) MutableColours().foreB = Colours().back;
}

void CVolBaseMeterWnd::PaintContent(QPainter& painter, const Rect& dirty) {
  const MeterColours& colours = Colours();
  const ChannelGrid grid(Client());
  painter.setFont(SmallFont());
  painter.setPen(colours.text.ToQColor());
  painter.setBackground(colours.back.ToQColor());
  painter.setBackgroundMode(Qt::OpaqueMode);
  std::array<Rect, 16> bars;
  for (int channel = 1; channel <= 16; ++channel) bars[static_cast<std::size_t>(channel - 1)] = grid.ChannelBar(channel);
  DrawChannelNumbers(painter, bars, bars[0].bottom + 2);
  const Rect& first = bars[0];
  const ScaleMarks marks = ScaleMarksFor(first);
  const auto scaleText = [&](int y, const char* text) {
    DrawText(painter, {1, y, first.left, y + first.Height()}, Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(text));
  };
  scaleText(marks.y127, "127");
  scaleText(marks.y100, "100");
  scaleText(marks.y50, " 50");
  scaleText(marks.y0, "  0");
  for (std::size_t k = 0; k < bars.size(); ++k) {
    if (!bars[k].Intersects(dirty)) continue;
    const BarFill fill = VerticalBarFill(
        bars[k], static_cast<int>(std::min<std::uint32_t>(values_[monitoredPort_][k], kMaximum)), kMaximum);
    Fill(painter, fill.lit, colours.fore);
    if (fill.unlit) Fill(painter, *fill.unlit, colours.back);
  }
}

}  // namespace velvasto::gui
