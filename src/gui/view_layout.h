#pragma once
// Where everything of the main view goes, in rows of u (the line height measured at start-up)
// and in digit widths (the widths of runs of the digit string "0123456789…", 64 digits being
// the view's width). No window toolkit here: the view measures, this arithmetic places, and
// every widget of the view (buttons, slider, monitor windows, labels, title area) takes its
// rectangle from it.
//
// The view's rows, top to bottom:
//   0–1    title area (song information)
//   2–7    first panel band: its label in row 2, the window in rows 3–7; beside it the labels
//          of the volume, expression and master meters (row 2) and the meters (rows 3–8)
//   8–13   second panel band: the other piano roll (two panels) or the tempo meter (label row
//          8, rows 9–10) and the time meter (label row 11, rows 12–13) (one panel); beside it
//          the status displays in rows 10, 12 and 13
//   2–13   the volume slider at the right edge, the volume display under it in row 13
//   14–15  the transport buttons, 14u + 2 to 16u − 2
// The client area is 64 digits wide and 16u high.

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "gui/rect.h"

namespace velvasto::gui {

// A window of the view: where it goes, and whether it is shown in the present monitor mode.
struct Placement {
  Rect rect;
  bool visible = true;

  bool operator==(const Placement&) const = default;
};

// What the layout needs measured. `digits[n]` is the width of the first n digits of the digit
// string (digits[0] = 0); the widths are in the fonts each text is drawn in.
struct LayoutMetrics {
  static constexpr std::size_t kDigits = 64;
  int lineHeight = 0;  // u
  std::array<int, kDigits + 1> digits{};
};

// The transport buttons, in the order the view creates them.
enum class TransportButton : std::size_t { Stop, Play, Rewind, FastForward, Pause };
inline constexpr std::size_t kTransportButtonCount = 5;

// The small status displays, each placed right of a label (which for most of them has no text
// and only anchors the display).
enum class StatusDisplay : std::size_t { FileCount, TimeBase, Volume, MonitorPort, Loop, Repeat, DropMode, PortSet };
inline constexpr std::size_t kStatusDisplayCount = 8;

// The labels the view paints in its small font.
enum class ViewLabel : std::size_t {
  FirstPanel,
  SecondPanel,
  Tempo,
  PlayTime,
  Volume,
  Expression,
  Master,
  TimeBase,
  ListCount
};
inline constexpr std::size_t kViewLabelCount = 9;

// The text of a label; the panel labels depend on the monitored port and mode.
std::string_view LabelText(ViewLabel label, int monitorMode, int monitorPort);

// The texts a status display is to show whole: it is as wide as the widest of them. The monitor
// port and volume displays fit "000" (three characters), the repeat and drop-mode displays
// each of their texts. The port set display has none: it takes the rest of its row.
std::vector<std::string_view> StatusSampleTexts(StatusDisplay display);

// Widths measured by the view in the fonts the texts are drawn in: each label's text in the
// small font, each status display's widest sample text in the displays' font.
struct TextWidths {
  std::array<int, kViewLabelCount> labels{};
  std::array<int, kStatusDisplayCount> statusSamples{};
};

struct ViewLayoutInput {
  LayoutMetrics metrics;
  TextWidths widths;
  int monitorMode = 0;  // 0 one panel and the other monitors, 1 two panels
  int monitorPort = 0;  // 0 PORT A, 1 PORT B: which roll the one-panel mode shows
};

struct ViewLayout {
  Rect client;
  Rect titleArea;
  std::array<Rect, kTransportButtonCount> buttons{};
  // The slider's column, and the slider window, one pixel wider each side.
  Rect sliderColumn;
  Rect slider;
  Placement rollA;
  Placement rollB;
  Placement volumeMeter;
  Placement expressionMeter;
  Placement masterMeter;
  Placement tempoMeter;
  Placement timeMeter;
  Placement mapDisplay;
  // Each status display and the label it stands right of: left = label right + 4, as wide as
  // its sample text inside the window's frame, as high as the label.
  std::array<Placement, kStatusDisplayCount> statusDisplays{};
  std::array<Rect, kStatusDisplayCount> statusAnchors{};
  // Each label where it is painted; labels of hidden windows are not painted.
  std::array<Placement, kViewLabelCount> labels{};

  const Rect& Button(TransportButton button) const { return buttons[static_cast<std::size_t>(button)]; }
  const Placement& Status(StatusDisplay display) const { return statusDisplays[static_cast<std::size_t>(display)]; }
  const Placement& Label(ViewLabel label) const { return labels[static_cast<std::size_t>(label)]; }
};

// The gap between a status display's label and the display.
inline constexpr int kStatusGap = 4;

// A status display right of its label, as wide as its text with the window's frame on both
// sides, so that the text shows whole.
Rect StatusDisplayRect(const Rect& label, int textWidth);

ViewLayout LayOutView(const ViewLayoutInput& input);

}  // namespace velvasto::gui
