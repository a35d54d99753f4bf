#include "gui/monitor/status_wnd.h"

#include <QPainter>

#include "gui/monitor/display_texts.h"
#include "gui/monitor/luma.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

namespace {
// The port set's text keeps this far from the left and right of the client.
constexpr int kPortSetInset = 2;
}  // namespace

void CStatusWnd::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void CStatusWnd::PaintContent(QPainter& painter, const Rect& /*dirty*/) {
  painter.setFont(MediumFont());
  painter.setPen(TextColour().ToQColor());
  const Rect client = Client();
  if (align_ == Align::Centre) {
    DrawText(painter, client, Qt::AlignHCenter | Qt::AlignTop, text_);
  } else {
    DrawText(painter, {client.left + kPortSetInset, client.top, client.right - kPortSetInset, client.bottom},
             Qt::AlignLeft | Qt::AlignTop, text_);
  }
}

CFileCountWnd::CFileCountWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::FileCount, Align::Centre, reporter, parent) {}

CTimebaseWnd::CTimebaseWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Timebase, Align::Centre, reporter, parent) {}

CVolSetWnd::CVolSetWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::VolumeSet, Align::Centre, reporter, parent) {}

CMonPortWnd::CMonPortWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::MonitorPort, Align::Centre, reporter, parent) {}

void CMonPortWnd::SetPort(int port) { SetText(ToQString(MonitorPortText(port))); }

CLoopWnd::CLoopWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Loop, Align::Centre, reporter, parent) {
  SetText(QStringLiteral("Loop"));
}

void CLoopWnd::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  update();
}

Rgb CLoopWnd::TextColour() const { return on_ ? Colours().text : AdjustLuma(Colours().text, kDimming); }

CRepWnd::CRepWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::Repeat, Align::Centre, reporter, parent) {}

void CRepWnd::SetLoopMode(int loopMode) { SetText(ToQString(RepeatText(loopMode))); }

CDDModeWnd::CDDModeWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::DdMode, Align::Centre, reporter, parent) {}

void CDDModeWnd::SetMode(int ddMode) { SetText(ToQString(DdModeText(ddMode))); }

CSelectPortWnd::CSelectPortWnd(ErrorReporter& reporter, QWidget* parent)
    : CStatusWnd(MeterKind::SelectPort, Align::LeftInset, reporter, parent) {}

void CSelectPortWnd::SetPortSet(const std::string& label) { SetText(ToQString(PortSetText(label))); }

}  // namespace velvasto::gui
