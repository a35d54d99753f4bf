#include "gui/monitor/time_meter_wnd.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gui/monitor/display_texts.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

CTimeMeterWnd::CTimeMeterWnd(ErrorReporter& reporter, QWidget* parent) : CMeterWnd(MeterKind::Time, reporter, parent) {
  setFocusPolicy(Qt::StrongFocus);
}

void CTimeMeterWnd::Reset(std::uint32_t lengthSeconds) {
  length_ = lengthSeconds;
  position_ = 0;
  dragTarget_.reset();
  update();
}

void CTimeMeterWnd::SetPosition(std::uint32_t seconds) {
  if (seconds == position_) return;
  position_ = seconds;
  if (!dragTarget_) update();
}

TrackMeterLayout CTimeMeterWnd::Layout() const {
  const QFontMetrics metrics(LargeFont());
  return TrackMeterLayoutFor(Client(), metrics.horizontalAdvance(QStringLiteral("00:00")), metrics.height());
}

int CTimeMeterWnd::HandleX(std::uint32_t seconds) const {
  const Rect track = Layout().track;
  if (length_ == 0) return track.left;
  const std::uint64_t shown = std::min(seconds, length_);
  return track.left + static_cast<int>(static_cast<std::uint64_t>(track.Width()) * shown / length_);
}

std::vector<PopupItem> CTimeMeterWnd::OwnColourItems() const {
  return {{meter_cmd::kTrackColour, QStringLiteral("トラックアクティブ色の変更")}};
}

void CTimeMeterWnd::PaintContent(QPainter& painter, const Rect& /*dirty*/) {
  const MeterColours& colours = Colours();
  const TrackMeterLayout layout = Layout();
  const std::uint32_t shown = ShownTime();
  painter.setFont(LargeFont());
  painter.setPen(colours.text.ToQColor());
  DrawText(painter, layout.text, Qt::AlignRight | Qt::AlignVCenter, ToQString(PlayTimeText(shown)));
  // The track: outlined in the track colour, the part played filled with it, the rest with the
  // inactive colour; the handle in the text colour.
  const Rect& track = layout.track;
  Fill(painter, track, colours.fore);
  const int handle = HandleX(shown);
  Fill(painter, {handle + 1, track.top + 1, track.right - 1, track.bottom - 1}, colours.foreB);
  Fill(painter, {handle - 1, track.top - 2, handle + 2, track.bottom + 2}, colours.text);
  if (hasFocus()) {
    painter.setPen(colours.text.ToQColor());
    painter.drawRect(track.left - 3, track.top - 3, track.Width() + 5, track.Height() + 5);
  }
}

std::uint32_t CTimeMeterWnd::SecondsUnder(int x) const {
  // The widget's border stands before the client.
  return SecondsAt(Layout().track, x - kMeterBorder, length_);
}

void CTimeMeterWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || length_ == 0) {
    CMeterWnd::mousePressEvent(event);
    return;
  }
  dragTarget_ = SecondsUnder(event->position().toPoint().x());
  update();
}

void CTimeMeterWnd::mouseMoveEvent(QMouseEvent* event) {
  if (!dragTarget_ || !(event->buttons() & Qt::LeftButton)) {
    CMeterWnd::mouseMoveEvent(event);
    return;
  }
  const std::uint32_t target = SecondsUnder(event->position().toPoint().x());
  if (target == *dragTarget_) return;
  dragTarget_ = target;
  update();
}

void CTimeMeterWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragTarget_) {
    CMeterWnd::mouseReleaseEvent(event);
    return;
  }
  const std::uint32_t target = SecondsUnder(event->position().toPoint().x());
  dragTarget_.reset();
  SeekTo(target);
}

void CTimeMeterWnd::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (length_ == 0 || (key != Qt::Key_Left && key != Qt::Key_Right)) {
    CMeterWnd::keyPressEvent(event);
    return;
  }
  const std::uint32_t from = ShownTime();
  SeekTo(key == Qt::Key_Left ? from - std::min(from, kKeyStepSeconds) : std::min(from + kKeyStepSeconds, length_));
}

void CTimeMeterWnd::SeekTo(std::uint32_t seconds) {
  position_ = seconds;
  update();
  emit SeekRequested(seconds);
}

void CTimeMeterWnd::focusInEvent(QFocusEvent* event) {
  CMeterWnd::focusInEvent(event);
  update();
}

void CTimeMeterWnd::focusOutEvent(QFocusEvent* event) {
  CMeterWnd::focusOutEvent(event);
  update();
}

}  // namespace velvasto::gui
