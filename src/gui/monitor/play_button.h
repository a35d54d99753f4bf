#pragma once
// CPlayButton: the PLAY button with its lamp. While the lamp is on (a song is loaded, and PLAY is
// then disabled) the lamp blinks: every 800 ms the button alternates between the disabled icon
// and the lit lamp icon.
//
// The blink timer is a plain member made with the button: making it takes no resource of the
// system that could be refused, so there is no separate failure for it; only starting and
// stopping it can fail.

#include <QPixmap>
#include <cstdint>

#include "gui/monitor/org_button.h"
#include "gui/monitor/refresh_timer.h"

namespace velvasto::gui {

class CPlayButton final : public COrgButton {
  Q_OBJECT

 public:
  static constexpr int kLampTimerId = 1;
  static constexpr std::uint32_t kLampIntervalMs = 800;

  explicit CPlayButton(QWidget* parent);

  // Switches the lamp on (starts blinking, unlit first) or off (stops blinking and shows the
  // button without the lamp); setting the present value does nothing. Throws CErrMessage 12
  // (62013) when the blink cannot start, 13 (62014) when it cannot stop.
  void SetLamp(bool on);
  bool LampOn() const { return lampOn_; }

 protected:
  const QPixmap& Icon(Face face) const override;

 private:
  void OnTick(int timerId);

  QPixmap lamp_;
  CRefreshTimer timer_;
  bool lampOn_ = false;
  bool lampLit_ = false;
};

}  // namespace velvasto::gui
