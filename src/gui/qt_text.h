#pragma once
// Crossing between the program's text and paths and Qt's: text in memory is UTF-8
// (std::string), paths are the file system's bytes (std::filesystem::path); Qt holds both as
// QString.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace velvasto::gui {

QString ToQString(std::string_view utf8);
std::string ToUtf8(const QString& text);

// A path as Qt shows it, and back. Song collections hold names from old archives that are not
// valid UTF-8 (Shift-JIS bytes); each such byte b travels as the lone surrogate U+DC00 + b, so
// the round trip gives the same bytes and the file can still be opened. Qt's own file-name
// conversion would replace them.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path QStringToPath(const QString& path);

}  // namespace velvasto::gui
