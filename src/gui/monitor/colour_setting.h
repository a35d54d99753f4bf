#pragma once
// Colours of the panel's windows and the volume slider as the settings file keeps them: three
// integer keys "<stem> R", "<stem> G", "<stem> B", of which only the low 8 bits count.

#include <QColor>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace velvasto {
class CINIFile;
class ErrorReporter;
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

// A colour and the stem of its keys.
struct KeyedColour {
  std::string stem;
  Rgb colour;
};
// Writes the colours in their order, each under its keys; the first failure is shown through
// `reporter` and ends the writing. Nothing is thrown: the windows write their colours as they go.
void SaveColours(const std::vector<KeyedColour>& colours, ErrorReporter& reporter) noexcept;

// The colour dialog on `current`; the chosen colour, or nothing when cancelled.
std::optional<Rgb> ChooseColour(QWidget* parent, Rgb current);

}  // namespace velvasto::gui
