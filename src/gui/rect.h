#pragma once
// A rectangle of the window's pixel arithmetic: the view's layout, the transport row and the
// panel windows' drawing all compute in it, free of the toolkit.

namespace velvasto::gui {

// Right and bottom lie just outside the rectangle, one past its last pixel.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(const Rect& other) const {
    return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
  }
  // Whether the two share a pixel; an empty rectangle shares none.
  bool Intersects(const Rect& other) const {
    return !Empty() && !other.Empty() && other.left < right && left < other.right && other.top < bottom &&
           top < other.bottom;
  }
  // Moved in by `d` pixels on every side.
  Rect Shrunk(int d) const { return {left + d, top + d, right - d, bottom - d}; }
  bool operator==(const Rect&) const = default;
};

}  // namespace velvasto::gui
