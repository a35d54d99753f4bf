#include "gui/monitor/vol_slider.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <string_view>

#include "core/cini_file.h"
#include "gui/monitor/popup_menu.h"

namespace velvasto::gui {
namespace {

constexpr std::string_view kBackStem = "Vol Slider Back Color";
constexpr std::string_view kForeStem = "Vol Slider For Color";

std::vector<PopupItem> MenuItems() {
  return {{meter_cmd::kTrackColour, QStringLiteral("トラックアクティブ色の変更")},
          {meter_cmd::kBackColour, QStringLiteral("バックグランド色の変更")},
          {meter_cmd::kDefaultColours, QStringLiteral("色を既定色に戻す")}};
}

// The track's slot, in pixels across.
constexpr int kChannelWidth = 6;

// A one-pixel bevel: `topLeft` along the top and left edges, `bottomRight` along the others.
void DrawBevel(QPainter& painter, const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
  painter.fillRect(box.left(), box.top(), box.width(), 1, topLeft);
  painter.fillRect(box.left(), box.top(), 1, box.height(), topLeft);
  painter.fillRect(box.left(), box.bottom(), box.width(), 1, bottomRight);
  painter.fillRect(box.right(), box.top(), 1, box.height(), bottomRight);
}

}  // namespace

CVolSlider::CVolSlider(ErrorReporter& reporter, QWidget* parent)
    : QSlider(Qt::Vertical, parent),
      reporter_(reporter),
      back_(LoadColour(CINIFile(), kBackStem, kDefaultBack)),
      fore_(LoadColour(CINIFile(), kForeStem, kDefaultFore)) {
  setRange(0, kMaxVolume);
  setTickPosition(QSlider::NoTicks);
  // Position 0 at the top, and the arrow keys, Page Up/Down and the wheel move the thumb the way
  // they point.
  setInvertedAppearance(true);
  setInvertedControls(true);
}

CVolSlider::~CVolSlider() {
  SaveColours({{std::string(kBackStem), back_}, {std::string(kForeStem), fore_}}, reporter_);
}

void CVolSlider::paintEvent(QPaintEvent*) {
  // The style's geometry for the track and the thumb, so that the mouse finds the thumb where it
  // is drawn.
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect thumb = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  const QColor fore = fore_.ToQColor();
  const QColor light = palette().color(QPalette::Light);
  const QColor shadow = palette().color(QPalette::Shadow);

  QPainter painter(this);
  painter.fillRect(rect(), back_.ToQColor());

  // The slot runs between the thumb's highest and lowest centres; below the thumb it is lit in the
  // active colour, the volume that plays.
  const int halfThumb = thumb.height() / 2;
  const QRect channel(groove.center().x() - kChannelWidth / 2, groove.top() + halfThumb, kChannelWidth,
                      groove.height() - 2 * halfThumb);
  painter.fillRect(QRect(QPoint(channel.left(), thumb.center().y()), channel.bottomRight()), fore);
  DrawBevel(painter, channel, shadow, light);

  painter.fillRect(thumb, palette().color(QPalette::Button));
  DrawBevel(painter, thumb, light, shadow);
  painter.fillRect(thumb.left() + 3, thumb.center().y(), thumb.width() - 6, 1, fore);

  if (hasFocus()) {
    painter.setPen(QPen(fore, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void CVolSlider::contextMenuEvent(QContextMenuEvent* event) {
  if (const std::optional<int> chosen = ChoosePopupItem(this, MenuItems(), event->globalPos())) {
    RunMenuCommand(*chosen);
  }
}

void CVolSlider::RunMenuCommand(int id) {
  switch (id) {
    case meter_cmd::kTrackColour:
      if (const auto chosen = ChooseColour(this, fore_)) fore_ = *chosen;
      break;
    case meter_cmd::kBackColour:
      if (const auto chosen = ChooseColour(this, back_)) back_ = *chosen;
      break;
    case meter_cmd::kDefaultColours:
      back_ = kDefaultBack;
      fore_ = kDefaultFore;
      break;
    default:
      return;
  }
  update();
}

}  // namespace velvasto::gui
