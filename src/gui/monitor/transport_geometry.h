#pragma once
// Where the five transport buttons and the volume slider sit in the main view, in pixels of the
// view's client area, with u the layout's line height. Plain arithmetic, free of the toolkit, so
// that the view's layout and the tests share it.

#include "gui/rect.h"

namespace velvasto::gui {

struct TransportButtonRects {
  Rect stop;
  Rect play;
  Rect rewind;
  Rect fastForward;
  Rect pause;

  bool operator==(const TransportButtonRects&) const = default;
};

// The button row between the layout's left edge x0 and right edge x1: STOP a sixth of the width,
// PLAY a third, then REWIND, FF and PAUSE a sixth each, every left edge taken from x0 on its own
// (integer division), in the two rows below row 14.
TransportButtonRects TransportButtons(int x0, int x1, int u);

// The slider's column of the layout, one pixel wider on each side, from row 2 to row 13.
Rect VolSliderRect(int columnLeft, int columnRight, int u);

}  // namespace velvasto::gui
