#include "gui/view_layout.h"

#include "gui/monitor/display_texts.h"
#include "gui/monitor/meter_geometry.h"
#include "gui/monitor/transport_geometry.h"

namespace velvasto::gui {

namespace {

// Columns, in digits from the left edge.
constexpr int kMarginDigits = 1;
constexpr int kPanelRight = 21;
constexpr int kVolumeLeft = 22;
constexpr int kVolumeRight = 36;
constexpr int kExpressionLeft = 37;
constexpr int kExpressionRight = 51;
constexpr int kMasterLeft = 52;
constexpr int kMasterRight = 56;
constexpr int kStatusRight = 58;
constexpr int kMapRight = 32;
constexpr int kPortSetLeft = 33;
constexpr int kVolumeDisplayLeft = 59;
constexpr int kSliderLeft = 60;
constexpr int kSliderRight = 62;
constexpr int kRightMarginDigits = 63;

// Rows, in u from the top.
constexpr int kTitleRows = 2;
constexpr int kFirstBandLabelRow = 2;
constexpr int kSecondBandLabelRow = 8;
constexpr int kBandLastRow = 13;
constexpr int kMeterBottomRow = 9;
constexpr int kTempoBottomRow = 11;
constexpr int kPlayTimeLabelRow = 11;
constexpr int kTimeBaseRow = 10;
constexpr int kStatusRow = 12;
constexpr int kMapRow = 13;
constexpr int kClientRows = 16;

std::size_t Index(auto value) { return static_cast<std::size_t>(value); }

}  // namespace

std::string_view LabelText(ViewLabel label, int monitorMode, int monitorPort) {
  switch (label) {
    case ViewLabel::FirstPanel:
      return monitorMode == 0 && monitorPort == 1 ? "Panel Monitor PORT B" : "Panel Monitor PORT A";
    case ViewLabel::SecondPanel:
      return "Panel Monitor PORT B";
    case ViewLabel::Tempo:
      return "Tempo";
    case ViewLabel::PlayTime:
      return "Play Time";
    case ViewLabel::Volume:
      return "Volume";
    case ViewLabel::Expression:
      return "Expression";
    case ViewLabel::Master:
      return "Master";
    case ViewLabel::TimeBase:
      return "Timebase";
    case ViewLabel::ListCount:
      return "List Count";
  }
  return {};
}

std::vector<std::string_view> StatusSampleTexts(StatusDisplay display) {
  switch (display) {
    case StatusDisplay::FileCount:
      return {"1024"};
    case StatusDisplay::TimeBase:
      return {"0000"};
    case StatusDisplay::Volume:
      return {"000"};
    case StatusDisplay::MonitorPort:
      return {"000", MonitorPortText(0), MonitorPortText(1)};
    case StatusDisplay::Loop:
      return {"Loop"};
    case StatusDisplay::Repeat:
      return {RepeatText(0), RepeatText(1), RepeatText(2)};
    case StatusDisplay::DropMode:
      return {DdModeText(0), DdModeText(1)};
    case StatusDisplay::PortSet:
      break;  // the user's own label: the display takes the rest of its row
  }
  return {};
}

Rect StatusDisplayRect(const Rect& label, int textWidth) {
  const int left = label.right + kStatusGap;
  return {left, label.top, left + kMeterFrameWidth + textWidth + kMeterFrameWidth, label.bottom};
}

ViewLayout LayOutView(const ViewLayoutInput& input) {
  const int u = input.metrics.lineHeight;
  const auto x = [&](int digits) { return input.metrics.digits[static_cast<std::size_t>(digits)]; };
  const auto row = [&](int n) { return n * u; };
  const bool twoPanels = input.monitorMode == 1;
  const bool oneShowsB = !twoPanels && input.monitorPort == 1;

  ViewLayout layout;
  layout.client = {0, 0, x(static_cast<int>(LayoutMetrics::kDigits)), row(kClientRows)};
  layout.titleArea = {x(kMarginDigits), 0, x(kRightMarginDigits), row(kTitleRows)};
  const TransportButtonRects buttons = TransportButtons(x(kMarginDigits), x(kRightMarginDigits), u);
  layout.buttons[Index(TransportButton::Stop)] = buttons.stop;
  layout.buttons[Index(TransportButton::Play)] = buttons.play;
  layout.buttons[Index(TransportButton::Rewind)] = buttons.rewind;
  layout.buttons[Index(TransportButton::FastForward)] = buttons.fastForward;
  layout.buttons[Index(TransportButton::Pause)] = buttons.pause;
  layout.sliderColumn = {x(kSliderLeft), row(kFirstBandLabelRow), x(kSliderRight), row(kBandLastRow)};
  layout.slider = VolSliderRect(layout.sliderColumn.left, layout.sliderColumn.right, u);

  // The panel column: the first band shows the monitored roll (roll A in two-panel mode), the
  // second band the other roll in two-panel mode; in one-panel mode the other roll waits there,
  // hidden, under the tempo and time meters.
  const Rect firstBand{x(kMarginDigits), row(kFirstBandLabelRow + 1), x(kPanelRight), row(kSecondBandLabelRow)};
  const Rect secondBand{x(kMarginDigits), row(kSecondBandLabelRow + 1), x(kPanelRight), row(kBandLastRow + 1)};
  layout.rollA = {oneShowsB ? secondBand : firstBand, !oneShowsB};
  layout.rollB = {oneShowsB ? firstBand : secondBand, twoPanels || oneShowsB};
  layout.tempoMeter = {{x(kMarginDigits), row(kSecondBandLabelRow + 1), x(kPanelRight), row(kTempoBottomRow)},
                       !twoPanels};
  layout.timeMeter = {{x(kMarginDigits), row(kPlayTimeLabelRow + 1), x(kPanelRight), row(kBandLastRow + 1)},
                      !twoPanels};

  const int metersTop = row(kFirstBandLabelRow + 1);
  const int metersBottom = row(kMeterBottomRow);
  layout.volumeMeter = {{x(kVolumeLeft), metersTop, x(kVolumeRight), metersBottom}, true};
  layout.expressionMeter = {{x(kExpressionLeft), metersTop, x(kExpressionRight), metersBottom}, true};
  layout.masterMeter = {{x(kMasterLeft), metersTop, x(kMasterRight), metersBottom}, true};
  layout.mapDisplay = {{x(kVolumeLeft), row(kMapRow), x(kMapRight), row(kMapRow + 1)}, true};

  const auto label = [&](ViewLabel which, int left, int rowIndex, bool visible) {
    const int width = input.widths.labels[Index(which)];
    layout.labels[Index(which)] = {{left, row(rowIndex), left + width, row(rowIndex + 1)}, visible};
  };
  label(ViewLabel::FirstPanel, x(kMarginDigits), kFirstBandLabelRow, true);
  label(ViewLabel::SecondPanel, x(kMarginDigits), kSecondBandLabelRow, twoPanels);
  label(ViewLabel::Tempo, x(kMarginDigits), kSecondBandLabelRow, !twoPanels);
  label(ViewLabel::PlayTime, x(kMarginDigits), kPlayTimeLabelRow, !twoPanels);
  label(ViewLabel::Volume, x(kVolumeLeft), kFirstBandLabelRow, true);
  label(ViewLabel::Expression, x(kExpressionLeft), kFirstBandLabelRow, true);
  label(ViewLabel::Master, x(kMasterLeft), kFirstBandLabelRow, true);
  label(ViewLabel::TimeBase, x(kVolumeLeft), kTimeBaseRow, true);
  label(ViewLabel::ListCount, x(kExpressionLeft), kTimeBaseRow, true);

  const auto status = [&](StatusDisplay which, const Rect& anchor) {
    layout.statusAnchors[Index(which)] = anchor;
    layout.statusDisplays[Index(which)] = {StatusDisplayRect(anchor, input.widths.statusSamples[Index(which)]), true};
    return layout.statusDisplays[Index(which)].rect;
  };
  // An anchor without text, so that the display starts at `left`.
  const auto anchorAt = [&](int left, int rowIndex) {
    return Rect{left - kStatusGap, row(rowIndex), left - kStatusGap, row(rowIndex + 1)};
  };
  status(StatusDisplay::TimeBase, layout.Label(ViewLabel::TimeBase).rect);
  status(StatusDisplay::FileCount, layout.Label(ViewLabel::ListCount).rect);
  // The mode displays side by side, a digit apart.
  int left = x(kVolumeLeft);
  for (const StatusDisplay which :
       {StatusDisplay::MonitorPort, StatusDisplay::Loop, StatusDisplay::Repeat, StatusDisplay::DropMode}) {
    left = status(which, anchorAt(left, kStatusRow)).right + x(1);
  }
  status(StatusDisplay::Volume, anchorAt(x(kVolumeDisplayLeft), kBandLastRow));
  // The port set's label is the user's own text: it takes the rest of its row.
  const Rect portSetAnchor = anchorAt(x(kPortSetLeft), kMapRow);
  layout.statusAnchors[Index(StatusDisplay::PortSet)] = portSetAnchor;
  layout.statusDisplays[Index(StatusDisplay::PortSet)] = {
      {x(kPortSetLeft), portSetAnchor.top, x(kStatusRight), portSetAnchor.bottom}, true};
  return layout;
}

}  // namespace velvasto::gui
