#include "gui/monitor/play_button.h"

#include "core/errors.h"

namespace velvasto::gui {

CPlayButton::CPlayButton(QWidget* parent)
    : COrgButton(CommandId::Play, parent),
      lamp_(LoadTransportBitmap("play_lamp")),
      timer_(kLampIntervalMs, kLampTimerId, [this](int timerId) { OnTick(timerId); }) {}

void CPlayButton::SetLamp(bool on) {
  if (on == lampOn_) return;
  if (on) {
    if (!timer_.Start()) throw CErrMessage(errc::kTimerStartFailed);
    lampOn_ = true;
    return;
  }
  if (!timer_.Stop()) throw CErrMessage(errc::kTimerEndFailed);
  lampOn_ = false;
  // The next blink starts unlit; a lamp left lit would show on a disabled PLAY with no song.
  lampLit_ = false;
  update();
}

const QPixmap& CPlayButton::Icon(Face face) const {
  if (face == Face::Disabled && lampLit_) return lamp_;
  return COrgButton::Icon(face);
}

void CPlayButton::OnTick(int timerId) {
  if (timerId != kLampTimerId || !lampOn_) return;
  lampLit_ = !lampLit_;
  update();
}

}  // namespace velvasto::gui
