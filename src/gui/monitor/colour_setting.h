#pragma once
// Colours of the panel's windows and the volume slider as the settings file keeps them: three
// integer keys "<stem> R", "<stem> G", "<stem> B", of which only the low 8 bits count.

#include <QColor>
#include <cstdint>
#include <optional>
#include <string_view>

class QWidget;

namespace velvasto {
class CINIFile;
}

namespace velvasto::gui {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  bool operator==(const Rgb&) const = default;
  QColor ToQColor() const { return QColor(r, g, b); }
};

// Reads the three keys, each with its channel of `def` as default.
Rgb LoadColour(const CINIFile& settings, std::string_view stem, Rgb def);
// Writes R, G, B in this order; throws CErrMessage(errc::kIniSaveFailed) when a write fails.
void SaveColour(CINIFile& settings, std::string_view stem, Rgb colour);

// The colour dialog on `current`; the chosen colour, or nothing when cancelled.
std::optional<Rgb> ChooseColour(QWidget* parent, Rgb current);

}  // namespace velvasto::gui
