#include "gui/monitor/status_wnd.h"

#include <QFontMetrics>
#include <QPainter>
#include <utility>

#include "gui/monitor/display_texts.h"
#include "gui/monitor/luma.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

namespace {
constexpr int kGapAfterLabel = 4;
// The border and the sunken frame, on both sides, so that the sample is not covered.
constexpr int kFrameWidth = 2 * (1 + 2);
// The port set's text keeps this far from the left and right of the client.
constexpr int kPortSetInset = 2;
}  // namespace

CStatusWnd::CStatusWnd(MeterKind kind, QString sample, Align align, ErrorReporter& reporter, QWidget* parent)
    : CMeterWnd(kind, reporter, parent), sample_(std::move(sample)), align_(align) {}

QRect CStatusWnd::RectBeside(const QRect& label) const {
  const int width = QFontMetrics(MediumFont()).horizontalAdvance(sample_) + kFrameWidth;
  return {label.x() + label.width() + kGapAfterLabel, label.y(), width, label.height()};
}

void CStatusWnd::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void CStatusWnd::PaintContent(QPainter& painter, const MeterRect& /*dirty*/) {
  painter.setFont(MediumFont());
  painter.setPen(TextColour().ToQColor());
  const MeterRect client = Client();
  if (align_ == Align::Centre) {
    DrawText(painter, client, Qt::AlignHCenter | Qt::AlignTop, text_);
  } else {
    DrawText(painter, {client.left + kPortSetInset, client.top, client.right - kPortSetInset, client.bottom},
             Qt::AlignLeft | Qt::AlignTop, text_);
  }
}

CFileCountWnd::CFileCountWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::FileCount, QStringLiteral("1024"), Align::Centre, reporter, parent) {}

CTimebaseWnd::CTimebaseWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Timebase, QStringLiteral("0000"), Align::Centre, reporter, parent) {}

CVolSetWnd::CVolSetWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::VolumeSet, QStringLiteral("000"), Align::Centre, reporter, parent) {}

CMonPortWnd::CMonPortWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::MonitorPort, QStringLiteral(" A "), Align::Centre, reporter, parent) {}

void CMonPortWnd::SetPort(int port) { SetText(ToQString(MonitorPortText(port))); }

CLoopWnd::CLoopWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Loop, QStringLiteral("Loop"), Align::Centre, reporter, parent) {
  SetText(QStringLiteral("Loop"));
}

void CLoopWnd::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  update();
}

Rgb CLoopWnd::TextColour() const { return on_ ? Colours().text : AdjustLuma(Colours().text, kDimming); }

CRepWnd::CRepWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Repeat, QStringLiteral("Rand."), Align::Centre, reporter, parent) {}

void CRepWnd::SetLoopMode(int loopMode) { SetText(ToQString(RepeatText(loopMode))); }

CDDModeWnd::CDDModeWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::DdMode, QStringLiteral("New"), Align::Centre, reporter, parent) {}

void CDDModeWnd::SetMode(int ddMode) { SetText(ToQString(DdModeText(ddMode))); }

CSelectPortWnd::CSelectPortWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::SelectPort, QStringLiteral("Default"), Align::LeftInset, reporter, parent) {}

void CSelectPortWnd::SetPortSet(const std::string& label) { SetText(ToQString(PortSetText(label))); }

}  // namespace velvasto::gui
