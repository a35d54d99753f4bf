#include "gui/monitor/rol_meter_wnd.h"

#include <QPainter>
#include <algorithm>

namespace velvasto::gui {

namespace {

// Where the data of a GS dot-display message begin: after F0 41 10 45 12 10 01 00.
constexpr std::size_t kGsDataStart = 8;
// An XG display-bitmap message: F0 43 10 4C 07 00, the address within the bitmap, the data, F7.
constexpr std::size_t kXgAddress = 6;
constexpr std::size_t kXgDataStart = 7;

}  // namespace

CRolMeterWnd::CRolMeterWnd(MeterKind kind, int timerId, ErrorReporter& reporter, QWidget* parent)
    : CMeterWnd(kind, reporter, parent), timer_(kRefreshMs, timerId, [this](int) { UpdateColumns(model_.Tick()); }) {
  timer_.Start();
}

void CRolMeterWnd::Take(const MonitorEntry& entry) {
  const std::size_t length = std::min<std::size_t>(entry.length, entry.data.size());
  switch (entry.kind) {
    case MonitorKind::NoteOn:
      model_.NoteOn(entry.channel, entry.value);
      break;
    case MonitorKind::NoteOff:
      model_.NoteOff(entry.channel);
      break;
    case MonitorKind::GsDisplay:
      if (length >= kGsDataStart + 64)
        model_.GsDisplay(std::span<const std::uint8_t, 64>(entry.data.data() + kGsDataStart, 64));
      break;
    case MonitorKind::XgBitmap: {
      if (length <= kXgDataStart) break;
      const std::size_t end = entry.data[length - 1] == 0xF7 ? length - 1 : length;
      model_.XgBitmap(entry.data[kXgAddress],
                      std::span<const std::uint8_t>(entry.data.data() + kXgDataStart, end - kXgDataStart));
      break;
    }
    default:
      break;
  }
}

void CRolMeterWnd::Reset() {
  model_.Reset();
  update();
}

void CRolMeterWnd::UpdateColumns(RollModel::Columns columns) {
  if (columns == 0) return;
  const ChannelGrid grid(Client());
  for (int column = 0; column < RollModel::kColumns; ++column) {
    if (columns & (1u << column)) UpdateClient(grid.DotColumn(column));
  }
}

std::vector<PopupItem> CRolMeterWnd::OwnColourItems() const {
  return {{meter_cmd::kActiveDotColour, QStringLiteral("ドットアクティブ色の変更")},
          {meter_cmd::kInactiveDotColour, QStringLiteral("ドット非アクティブ色の変更")}};
}

void CRolMeterWnd::PaintContent(QPainter& painter, const Rect& dirty) {
  const MeterColours& colours = Colours();
  const ChannelGrid grid(Client());
  std::array<Rect, RollModel::kColumns> columns;
  for (int column = 0; column < RollModel::kColumns; ++column) {
    const Rect& dots = columns[static_cast<std::size_t>(column)] = grid.DotColumn(column);
    if (!dots.Intersects(dirty)) continue;
    for (int row = 1; row <= RollModel::kRows; ++row) {
      Fill(painter, grid.Dot(column, row), model_.Lit(column, row) ? colours.fore : colours.foreB);
    }
  }
  // The channel numbers under the columns.
  painter.setFont(SmallFont());
  painter.setPen(colours.text.ToQColor());
  DrawChannelNumbers(painter, columns, columns[0].bottom + 2);
}

}  // namespace velvasto::gui
