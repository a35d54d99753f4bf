#pragma once
// Crossing between the window arithmetic's rectangles and Qt's.

#include <QRect>

#include "gui/rect.h"

namespace velvasto::gui {

inline QRect ToQRect(const Rect& rect) { return {rect.left, rect.top, rect.Width(), rect.Height()}; }
inline Rect FromQRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace velvasto::gui
