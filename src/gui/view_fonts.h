#pragma once
// The fonts of the view and the measuring of its layout metrics.

#include <QFont>

#include "gui/view_layout.h"

namespace velvasto::gui {

// The view's two fonts: the song information in the big one, the labels in the small one.
QFont BigFont();
QFont SmallFont();

// The layout metrics in `fixedFont` (the desktop's fixed-pitch font): u is the font's height
// plus its leading plus 4; the digit widths are the widths of the runs of the digit string.
LayoutMetrics MeasureLayoutMetrics(const QFont& fixedFont);

// Every label's and status sample's width, in the fonts they are drawn in.
TextWidths MeasureTextWidths(const QFont& labelFont, const QFont& displayFont, int monitorMode, int monitorPort);

}  // namespace velvasto::gui
