#include "gui/cell_font.h"

#include <QFontMetrics>
#include <algorithm>

namespace velvasto::gui {

QFont CellFont(const QString& family, int cellHeight, int averageWidth, int weight) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setPixelSize(cellHeight);
  // Pixel sizes are em sizes; the cell is taller than the em by the face's own ratio.
  const int measured = QFontMetrics(font).height();
  if (measured > 0) font.setPixelSize(std::max(1, cellHeight * cellHeight / measured));
  const int average = QFontMetrics(font).averageCharWidth();
  if (averageWidth > 0 && average > 0) font.setStretch(std::clamp(100 * averageWidth / average, 1, 4000));
  return font;
}

}  // namespace velvasto::gui
