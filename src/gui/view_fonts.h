#pragma once
// The fonts of the view and the measuring of its layout metrics.

#include <QFont>
#include <QString>

#include "gui/view_layout.h"

namespace velvasto::gui {

// A font given as the view's drawing gives it: a family, the cell height (ascent + descent) and
// the average character width in pixels, and a weight of 100..900. The nearest font of the
// family is scaled to that height and stretched to that width.
QFont CellFont(const QString& family, int cellHeight, int averageWidth, int weight);

// The view's two fonts: the song information in the big one, the labels in the small one.
QFont BigFont();
QFont SmallFont();
// The font of the panel's small displays (their sample texts set their widths).
QFont DisplayFont();

// The layout metrics in `fixedFont` (the desktop's fixed-pitch font): u is the font's height
// plus its leading plus 4; the digit widths are the widths of the runs of the digit string.
LayoutMetrics MeasureLayoutMetrics(const QFont& fixedFont);

// Every label's and status sample's width, in the fonts they are drawn in.
TextWidths MeasureTextWidths(const QFont& labelFont, const QFont& displayFont, int monitorMode, int monitorPort);

}  // namespace velvasto::gui
