#include "gui/monitor/org_button.h"

#include <QPainter>

namespace velvasto::gui {
namespace {

// A name for assistive technologies; the button shows no text.
QString AccessibleName(CommandId command) {
  switch (command) {
    case CommandId::Play:
      return QStringLiteral("PLAY");
    case CommandId::Stop:
      return QStringLiteral("STOP");
    case CommandId::FastForward:
      return QStringLiteral("FF");
    case CommandId::Rewind:
      return QStringLiteral("REWIND");
    case CommandId::Pause:
      return QStringLiteral("PAUSE");
    default:
      return {};
  }
}

}  // namespace

COrgButton::COrgButton(CommandId command, QWidget* parent)
    : QAbstractButton(parent), command_(command), artwork_(LoadButtonArtwork(command)) {
  setAccessibleName(AccessibleName(command));
}

QSize COrgButton::sizeHint() const { return artwork_.frameNormal.size(); }

const QPixmap& COrgButton::Icon(Face face) const {
  switch (face) {
    case Face::Pressed:
      return artwork_.iconPressed;
    case Face::Disabled:
      return artwork_.iconDisabled;
    case Face::Normal:
      break;
  }
  return artwork_.iconNormal;
}

COrgButton::Face COrgButton::CurrentFace() const {
  if (!isEnabled()) return Face::Disabled;
  if (isDown()) return Face::Pressed;
  return Face::Normal;
}

void COrgButton::paintEvent(QPaintEvent*) {
  const Face face = CurrentFace();
  QPainter painter(this);
  // Without smoothing the frame's bevel lines stay sharp when stretched.
  painter.drawPixmap(rect(), face == Face::Pressed ? artwork_.framePressed : artwork_.frameNormal);
  painter.drawPixmap(kIconLeft, kIconTop, Icon(face));
}

}  // namespace velvasto::gui
