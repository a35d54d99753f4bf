#include "gui/desktop/window_media_controls.h"

#include <QSlider>

namespace velvasto::gui {

CWindowMediaControls::CWindowMediaControls(CMainFrame& frame)
    : QObject(&frame), frame_(frame), view_(frame.View()), service_(view_.Controller(), *this) {
  // Queued: the service reads the player's state only once the operation that changed it is over.
  const auto tell = [this] { service_.Update(); };
  connect(&view_, &CChildView::CommandStatesMayHaveChanged, &service_, tell, Qt::QueuedConnection);
  connect(&frame_, &QWidget::windowTitleChanged, &service_, tell, Qt::QueuedConnection);
  connect(view_.Transport().slider, &QAbstractSlider::valueChanged, &service_, tell, Qt::QueuedConnection);
}

void CWindowMediaControls::Raise() { frame_.BringToFront(); }

// The close may ask whether to save the list: it runs after the call from the bus has returned.
void CWindowMediaControls::Quit() { view_.CloseMainWindow(); }

int CWindowMediaControls::Volume() const { return view_.Transport().slider->Volume(); }

void CWindowMediaControls::SetVolume(int volume) { view_.Transport().slider->setValue(CVolSlider::PositionOf(volume)); }

void CWindowMediaControls::Operate(const std::function<void(PlayerController&)>& operation) {
  view_.Operate(operation);
}

}  // namespace velvasto::gui
