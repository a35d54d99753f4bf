#include "gui/monitor/meter_wnd.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "core/cini_file.h"
#include "gui/cell_font.h"
#include "gui/qt_rect.h"

namespace velvasto::gui {

namespace {

MeterColours LoadColours(MeterKind kind) {
  const CINIFile settings;
  MeterColours colours = DefaultColours(kind);
  for (const ColourRole role : {ColourRole::Fore, ColourRole::ForeB, ColourRole::Back, ColourRole::Text}) {
    if (const auto stem = ColourKeyStem(kind, role)) colours[role] = LoadColour(settings, *stem, colours[role]);
  }
  return colours;
}

}  // namespace

QFont MeterSmallFont() { return CellFont(QStringLiteral("Arial"), 8, 3, 500); }
QFont MeterMediumFont() { return CellFont(QStringLiteral("Arial"), 14, 5, 700); }
QFont MeterLargeFont() { return CellFont(QStringLiteral("Arial"), 16, 6, 700); }

CMeterWnd::CMeterWnd(MeterKind kind, ErrorReporter& reporter, QWidget* parent)
    : QWidget(parent),
      kind_(kind),
      reporter_(reporter),
      colours_(LoadColours(kind)),
      smallFont_(MeterSmallFont()),
      mediumFont_(MeterMediumFont()),
      largeFont_(MeterLargeFont()) {
  // Every pixel is painted by the window itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The right button's release opens the window's own menu; the parent's is not to be asked.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

CMeterWnd::~CMeterWnd() {
  std::vector<KeyedColour> keyed;
  for (const ColourRole role : {ColourRole::Back, ColourRole::Fore, ColourRole::ForeB, ColourRole::Text}) {
    if (const auto stem = ColourKeyStem(kind_, role)) keyed.push_back({*stem, colours_[role]});
  }
  SaveColours(keyed);
}

std::vector<PopupItem> CMeterWnd::MenuItems() const {
  std::vector<PopupItem> items = OwnColourItems();
  items.push_back({meter_cmd::kBackColour, QStringLiteral("バックグランド色の変更")});
  items.push_back({meter_cmd::kTextColour, QStringLiteral("テキスト色の変更")});
  items.push_back({meter_cmd::kDefaultColours, QStringLiteral("色を既定色に戻す")});
  return items;
}

void CMeterWnd::RunCommand(int id) {
  const std::vector<PopupItem> items = MenuItems();
  if (std::none_of(items.begin(), items.end(), [&](const PopupItem& item) { return item.id == id; })) return;
  ColourRole role = ColourRole::Back;
  switch (id) {
    case meter_cmd::kActiveDotColour:
    case meter_cmd::kTrackColour:
      role = ColourRole::Fore;
      break;
    case meter_cmd::kInactiveDotColour:
    case meter_cmd::kInactiveTrackColour:
      role = ColourRole::ForeB;
      break;
    case meter_cmd::kTextColour:
      role = ColourRole::Text;
      break;
    case meter_cmd::kBackColour:
      role = ColourRole::Back;
      break;
    case meter_cmd::kDefaultColours:
      colours_ = DefaultColours(kind_);
      update();
      return;
    default:
      return;
  }
  if (ChooseNewColour(colours_[role])) ColourChanged(role);
}

void CMeterWnd::ColourChanged(ColourRole /*role*/) {}

bool CMeterWnd::ChooseNewColour(Rgb& colour) {
  const std::optional<Rgb> chosen = ChooseColour(this, colour);
  if (!chosen) return false;
  colour = *chosen;
  update();
  return true;
}

Rect CMeterWnd::Client() const { return {0, 0, width() - 2 * kMeterBorder, height() - 2 * kMeterBorder}; }

void CMeterWnd::UpdateClient(const Rect& area) { update(ToQRect(area).translated(kMeterBorder, kMeterBorder)); }

void CMeterWnd::Fill(QPainter& painter, const Rect& area, Rgb colour) {
  if (area.Width() > 0 && area.Height() > 0) painter.fillRect(ToQRect(area), colour.ToQColor());
}

void CMeterWnd::DrawText(QPainter& painter, const Rect& area, int flags, const QString& text) {
  painter.drawText(ToQRect(area), flags, text);
}

void CMeterWnd::DrawChannelNumbers(QPainter& painter, const std::array<Rect, 16>& columns, int top) {
  const QFontMetrics metrics(painter.font());
  std::array<QString, 16> numbers;
  std::array<int, 16> centres{};
  std::array<int, 16> widths{};
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    numbers[k] = QString::number(k + 1);
    widths[k] = metrics.horizontalAdvance(numbers[k]);
    centres[k] = (columns[k].left + columns[k].right) / 2;
  }
  const std::vector<bool> shown = LabelsThatFit(centres, widths);
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (!shown[k]) continue;
    const int left = centres[k] - widths[k] / 2;
    DrawText(painter, {left, top, left + widths[k], top + metrics.height()}, Qt::AlignLeft | Qt::AlignTop, numbers[k]);
  }
}

void CMeterWnd::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.translate(kMeterBorder, kMeterBorder);
  const Rect client = Client();
  painter.setClipRect(ToQRect(client));
  const QRect dirty = event->rect().translated(-kMeterBorder, -kMeterBorder).intersected(ToQRect(client));
  PaintSunkenFrame(painter, true);
  PaintContent(painter, FromQRect(dirty));
  PaintSunkenFrame(painter, false);
}

void CMeterWnd::PaintSunkenFrame(QPainter& painter, bool fill) const {
  const Rect client = Client();
  const Rect frame{client.left, client.top, client.right - 1, client.bottom - 1};
  const QPalette& colours = palette();
  for (const FrameStroke& stroke : SunkenFrameStrokes(frame)) {
    const QPalette::ColorRole role = stroke.pen == FramePen::DarkShadow  ? QPalette::Shadow
                                     : stroke.pen == FramePen::Highlight ? QPalette::Light
                                                                         : QPalette::Midlight;
    painter.fillRect(ToQRect(stroke.area), colours.color(role));
  }
  if (fill) Fill(painter, SunkenFrameInterior(frame), colours_.back);
}

void CMeterWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  if (const std::optional<int> chosen = ChoosePopupItem(this, MenuItems(), event->globalPosition().toPoint())) {
    RunCommand(*chosen);
  }
}

}  // namespace velvasto::gui
