#include "gui/view_fonts.h"

#include <QFontMetrics>
#include <algorithm>

#include "gui/cell_font.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

namespace {

constexpr char kDigitString[] = "0123456789012345678901234567890123456789012345678901234567890123";
static_assert(sizeof kDigitString - 1 == LayoutMetrics::kDigits);

}  // namespace

QFont BigFont() { return CellFont(QStringLiteral("Arial"), 16, 6, 700); }
QFont SmallFont() { return CellFont(QStringLiteral("Arial"), 14, 5, 500); }

LayoutMetrics MeasureLayoutMetrics(const QFont& fixedFont) {
  const QFontMetrics metrics(fixedFont);
  LayoutMetrics layout;
  layout.lineHeight = metrics.height() + std::max(0, metrics.leading()) + 4;
  const QString digits = QString::fromLatin1(kDigitString);
  for (std::size_t n = 1; n <= LayoutMetrics::kDigits; ++n) {
    layout.digits[n] = metrics.horizontalAdvance(digits.left(static_cast<int>(n)));
  }
  return layout;
}

TextWidths MeasureTextWidths(const QFont& labelFont, const QFont& displayFont, int monitorMode, int monitorPort) {
  const QFontMetrics labels(labelFont);
  const QFontMetrics displays(displayFont);
  TextWidths widths;
  for (std::size_t i = 0; i < kViewLabelCount; ++i) {
    widths.labels[i] =
        labels.horizontalAdvance(ToQString(LabelText(static_cast<ViewLabel>(i), monitorMode, monitorPort)));
  }
  for (std::size_t i = 0; i < kStatusDisplayCount; ++i) {
    for (const std::string_view text : StatusSampleTexts(static_cast<StatusDisplay>(i)))
      widths.statusSamples[i] = std::max(widths.statusSamples[i], displays.horizontalAdvance(ToQString(text)));
  }
  return widths;
}

}  // namespace velvasto::gui
