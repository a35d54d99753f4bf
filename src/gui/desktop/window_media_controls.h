#pragma once
// The main window as the desktop's media controls see it: the MediaPlayerWindow over the frame
// and its view, and the media-player service on the session bus that drives it. What the view
// learns of (the commands' states, a new song's title, the volume slider moved) is told on the
// bus at once, after the operation that changed it has returned; the service's own timer
// catches the rest (the position, the slider moved by the player).

#include <QDBusConnection>
#include <QObject>
#include <utility>

#include "gui/desktop/media_player_service.h"
#include "gui/desktop/media_player_window.h"
#include "gui/main_frame.h"

namespace velvasto::gui {

class CWindowMediaControls final : public QObject, public MediaPlayerWindow {
 public:
  // A child of `frame`, the main window.
  explicit CWindowMediaControls(CMainFrame& frame);

  // Offers the player on `connection`. False when there is no bus (no error: the player then
  // has no media controls).
  bool Register(QDBusConnection connection) { return service_.Register(std::move(connection)); }

  // MediaPlayerWindow.
  void Raise() override;
  void Quit() override;
  int Volume() const override;
  void SetVolume(int volume) override;
  void Operate(const std::function<void(PlayerController&)>& operation) override;

 private:
  CMainFrame& frame_;
  CChildView& view_;
  CMediaPlayerService service_;
};

}  // namespace velvasto::gui
