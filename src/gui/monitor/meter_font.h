#pragma once
// The panel's fonts: "Arial" (served by a metric-compatible face) of a given cell height and
// average character width in pixels, as the panel's layouts assume them.

#include <QFont>

namespace velvasto::gui {

// `cellHeight`: ascent plus descent; `averageWidth`: the average character width; `weight` on
// the scale of 100 (thin) to 900 (black), 700 being bold.
QFont MeterFont(int cellHeight, int averageWidth, int weight);

}  // namespace velvasto::gui
