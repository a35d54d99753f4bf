#include "gui/monitor/meter_font.h"

#include <QFontMetrics>
#include <algorithm>

namespace velvasto::gui {

QFont MeterFont(int cellHeight, int averageWidth, int weight) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setPixelSize(cellHeight);
  // A pixel size is the em, which is smaller than the cell by the face's internal leading.
  const int cell = QFontMetrics(font).height();
  if (cell > cellHeight) font.setPixelSize(std::max(1, cellHeight * cellHeight / cell));
  const int natural = QFontMetrics(font).averageCharWidth();
  if (natural > 0 && natural != averageWidth) font.setStretch(std::clamp(100 * averageWidth / natural, 1, 4000));
  return font;
}

}  // namespace velvasto::gui
