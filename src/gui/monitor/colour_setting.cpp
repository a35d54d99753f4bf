#include "gui/monitor/colour_setting.h"

#include <QColorDialog>
#include <string>

#include "core/cini_file.h"
#include "core/errors.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {
namespace {

std::string ChannelKey(std::string_view stem, char channel) {
  std::string key(stem);
  key += ' ';
  key += channel;
  return key;
}

std::uint8_t LoadChannel(const CINIFile& settings, std::string_view stem, char channel, std::uint8_t def) {
  return static_cast<std::uint8_t>(settings.ReadInt(ChannelKey(stem, channel), def) & 0xFF);
}

void SaveChannel(CINIFile& settings, std::string_view stem, char channel, std::uint8_t value) {
  if (!settings.WriteInt(ChannelKey(stem, channel), value)) throw CErrMessage(errc::kIniSaveFailed);
}

}  // namespace

Rgb LoadColour(const CINIFile& settings, std::string_view stem, Rgb def) {
  return {LoadChannel(settings, stem, 'R', def.r), LoadChannel(settings, stem, 'G', def.g),
          LoadChannel(settings, stem, 'B', def.b)};
}

void SaveColour(CINIFile& settings, std::string_view stem, Rgb colour) {
  SaveChannel(settings, stem, 'R', colour.r);
  SaveChannel(settings, stem, 'G', colour.g);
  SaveChannel(settings, stem, 'B', colour.b);
}

void SaveColours(const std::vector<KeyedColour>& colours, ErrorReporter& reporter) noexcept {
  RunShowingErrors(reporter, [&colours] {
    CINIFile settings;
    for (const KeyedColour& keyed : colours) SaveColour(settings, keyed.stem, keyed.colour);
  });
}

std::optional<Rgb> ChooseColour(QWidget* parent, Rgb current) {
  const QColor chosen = QColorDialog::getColor(current.ToQColor(), parent);
  if (!chosen.isValid()) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
             static_cast<std::uint8_t>(chosen.blue())};
}

}  // namespace velvasto::gui
