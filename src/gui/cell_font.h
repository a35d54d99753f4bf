#pragma once
// Fonts as the window's pixel layouts give them: a family, the cell height and the average
// character width in pixels, and a weight.

#include <QFont>
#include <QString>

namespace velvasto::gui {

// `cellHeight`: ascent plus descent; `averageWidth`: the average character width (0: the face's
// own); `weight` on the scale of 100 (thin) to 900 (black), 700 being bold. The nearest face of
// the family (a sans-serif one when the family is missing) is scaled to that height and
// stretched to that width.
QFont CellFont(const QString& family, int cellHeight, int averageWidth, int weight);

}  // namespace velvasto::gui
