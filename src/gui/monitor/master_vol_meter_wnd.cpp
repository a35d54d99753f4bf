#include "gui/monitor/master_vol_meter_wnd.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velvasto::gui {

CMasterVolMeterWnd::CMasterVolMeterWnd(ErrorReporter& reporter, QWidget* parent)
    : CMeterWnd(MeterKind::Master, reporter, parent) {}

void CMasterVolMeterWnd::Take(std::uint32_t port, std::uint32_t value) {
  if (port >= values_.size() || values_[port] == value) return;
  values_[port] = value;
  if (port != monitoredPort_) return;
  UpdateClient(Bar());
  UpdateClient(ValueBox());
}

void CMasterVolMeterWnd::SetMonitoredPort(std::uint32_t port) {
  if (port >= values_.size() || port == monitoredPort_) return;
  monitoredPort_ = port;
  update();
}

void CMasterVolMeterWnd::SetBoth(std::uint32_t value) {
  values_.fill(value);
  update();
}

QSize CMasterVolMeterWnd::ValueTextSize() const {
  const QFontMetrics metrics(MediumFont());
  return {metrics.horizontalAdvance(QStringLiteral("000")), metrics.height()};
}

Rect CMasterVolMeterWnd::Bar() const { return MasterBar(Client(), ValueTextSize().height()); }

Rect CMasterVolMeterWnd::ValueBox() const {
  const QSize text = ValueTextSize();
  return MasterValueBox(Bar(), text.width(), text.height());
}

std::vector<PopupItem> CMasterVolMeterWnd::OwnColourItems() const {
  return {{meter_cmd::kTrackColour, QStringLiteral("トラック色の変更")}};
}

void CMasterVolMeterWnd::ColourChanged(ColourRole role) {
  if (role == ColourRole::Back) MutableColours().foreB = Colours().back;
}

void CMasterVolMeterWnd::PaintContent(QPainter& painter, const Rect& /*dirty*/) {
  const MeterColours& colours = Colours();
  const std::uint32_t value = values_[monitoredPort_];
  const BarFill fill = VerticalBarFill(Bar(), static_cast<int>(std::min<std::uint32_t>(value, kMaximum)), kMaximum);
  Fill(painter, fill.lit, colours.fore);
  if (fill.unlit) Fill(painter, *fill.unlit, colours.back);
  const Rect box = ValueBox();
  Fill(painter, box, colours.back);
  painter.setFont(MediumFont());
  painter.setPen(colours.text.ToQColor());
  DrawText(painter, box, Qt::AlignCenter, QString::number(value));
}

}  // namespace velvasto::gui
