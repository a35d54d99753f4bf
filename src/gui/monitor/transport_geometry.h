#pragma once
// Where the five transport buttons and the volume slider sit in the main view, in pixels of the
// view's client area, with u the layout's line height. Plain arithmetic, free of the toolkit, so
// that the view's layout and the tests share it.

namespace velvasto::gui {

// A rectangle as the layout computes it: right and bottom lie just outside it.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

struct TransportButtonRects {
  PixelRect stop;
  PixelRect play;
  PixelRect rewind;
  PixelRect fastForward;
  PixelRect pause;

  bool operator==(const TransportButtonRects&) const = default;
};

// The button row between the layout's left edge x0 and right edge x1: STOP a sixth of the width,
// PLAY a third, then REWIND, FF and PAUSE a sixth each, every left edge taken from x0 on its own
// (integer division), in the two rows below row 14.
TransportButtonRects TransportButtons(int x0, int x1, int u);

// The slider's column of the layout, one pixel wider on each side, from row 2 to row 13.
PixelRect VolSliderRect(int columnLeft, int columnRight, int u);

}  // namespace velvasto::gui
