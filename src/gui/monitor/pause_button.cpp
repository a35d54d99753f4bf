#include "gui/monitor/pause_button.h"

namespace velvasto::gui {

CPauseButton::CPauseButton(QWidget* parent)
    : COrgButton(CommandId::Pause, parent),
      pausedIcon_(LoadTransportBitmap("pause_paused")),
      pausedPressedIcon_(LoadTransportBitmap("pause_paused_pressed")) {}

void CPauseButton::SetPaused(bool paused) {
  paused_ = paused;
  update();
}

const QPixmap& CPauseButton::Icon(Face face) const {
  if (paused_ && face == Face::Normal) return pausedIcon_;
  if (paused_ && face == Face::Pressed) return pausedPressedIcon_;
  return COrgButton::Icon(face);
}

}  // namespace velvasto::gui
