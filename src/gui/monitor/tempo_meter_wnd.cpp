#include "gui/monitor/tempo_meter_wnd.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velvasto::gui {

CTempoMeterWnd::CTempoMeterWnd(ErrorReporter& reporter, QWidget* parent)
    : CMeterWnd(MeterKind::Tempo, reporter, parent) {}

void CTempoMeterWnd::SetTempo(std::uint32_t beatsPerMinute) {
  if (beatsPerMinute == tempo_) return;
  tempo_ = beatsPerMinute;
  update();
}

TrackMeterLayout CTempoMeterWnd::Layout() const {
  const QFontMetrics metrics(LargeFont());
  return TrackMeterLayoutFor(Client(), metrics.horizontalAdvance(QStringLiteral("000")), metrics.height());
}

std::vector<PopupItem> CTempoMeterWnd::OwnColourItems() const {
  return {{meter_cmd::kTrackColour, QStringLiteral("トラックアクティブ色の変更")},
          {meter_cmd::kInactiveTrackColour, QStringLiteral("トラック非アクティブ色の変更")}};
}

void CTempoMeterWnd::PaintContent(QPainter& painter, const Rect& /*dirty*/) {
  const MeterColours& colours = Colours();
  const TrackMeterLayout layout = Layout();
  painter.setFont(LargeFont());
  painter.setPen(colours.text.ToQColor());
  DrawText(painter, layout.text, Qt::AlignRight | Qt::AlignVCenter, QString::number(tempo_));
  const int shown = static_cast<int>(std::min(tempo_, kScaleMaximum));
  const BarFill fill = HorizontalBarFill(layout.track, shown, static_cast<int>(kScaleMaximum));
  Fill(painter, fill.lit, colours.fore);
  if (fill.unlit) Fill(painter, *fill.unlit, colours.foreB);
  // Scale marks every 60 beats per minute under the track.
  const Rect& track = layout.track;
  for (std::uint32_t mark = 60; mark < kScaleMaximum; mark += 60) {
    const int x = track.left + static_cast<int>(static_cast<std::uint32_t>(track.Width()) * mark / kScaleMaximum);
    Fill(painter, {x, track.bottom + 1, x + 1, track.bottom + 4}, colours.text);
  }
}

}  // namespace velvasto::gui
