#include "gui/monitor/transport_geometry.h"

namespace velvasto::gui {

TransportButtonRects TransportButtons(int x0, int x1, int u) {
  const int w = x1 - x0;
  const int top = 14 * u + 2;
  const int bottom = top + 2 * u - 4;
  const auto button = [&](int left) { return Rect{left, top, left + w / 6, bottom}; };
  const int playLeft = x0 + w / 6;
  return {
      .stop = button(x0),
      .play = {playLeft, top, playLeft + w / 3, bottom},
      .rewind = button(x0 + w / 2),
      .fastForward = button(x0 + (w * 2) / 3),
      .pause = button(x0 + (w * 5) / 6),
  };
}

Rect VolSliderRect(int columnLeft, int columnRight, int u) {
  return {columnLeft - 1, 2 * u, columnRight + 1, 13 * u};
}

}  // namespace velvasto::gui
