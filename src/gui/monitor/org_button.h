#pragma once
// COrgButton: a transport button of the main view, drawn from bitmaps. Its command is the id of
// the menu command it runs, so that a click, the menu item and the accelerator do the same.

#include <QAbstractButton>
#include <QPixmap>

#include "app/command_state.h"
#include "gui/monitor/transport_artwork.h"

namespace velvasto::gui {

class COrgButton : public QAbstractButton {
  Q_OBJECT

 public:
  // Where the icon sits on the button; it is drawn unscaled.
  static constexpr int kIconLeft = 4;
  static constexpr int kIconTop = 4;

  // The button of `command` (PLAY, STOP, FF, REWIND or PAUSE) with its bitmaps; a bitmap that
  // cannot be loaded fails the construction (CErrMessage).
  COrgButton(CommandId command, QWidget* parent);

  CommandId Command() const { return command_; }
  // The frame bitmap's size.
  QSize sizeHint() const override;

 protected:
  enum class Face { Normal, Pressed, Disabled };

  // The icon of `face`; PLAY and PAUSE show other icons in some of their states.
  virtual const QPixmap& Icon(Face face) const;
  void paintEvent(QPaintEvent* event) override;

 private:
  Face CurrentFace() const;

  CommandId command_;
  ButtonArtwork artwork_;
};

}  // namespace velvasto::gui
