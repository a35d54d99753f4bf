#include "gui/qt_text.h"

#include <QByteArray>

namespace velvasto::gui {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool InRange(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when there is none.
std::size_t WellFormedLength(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (InRange(lead, 0xC2, 0xDF)) {
    length = 2;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (InRange(lead, 0xF0, 0xF4)) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length || !InRange(at(1), low, high)) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!InRange(at(i), 0x80, 0xBF)) return 0;
  }
  return length;
}

}  // namespace

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString PathToQString(const std::filesystem::path& path) {
  const std::string_view native = path.native();
  QString result;
  result.reserve(static_cast<qsizetype>(native.size()));
  std::size_t pos = 0;
  while (pos < native.size()) {
    const std::size_t length = WellFormedLength(native.substr(pos));
    if (length == 0) {
      result.append(QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(native[pos]))));
      ++pos;
    } else {
      result.append(QString::fromUtf8(native.data() + pos, static_cast<qsizetype>(length)));
      pos += length;
    }
  }
  return result;
}

std::filesystem::path QStringToPath(const QString& path) {
  std::string native;
  native.reserve(static_cast<std::size_t>(path.size()));
  qsizetype runStart = 0;
  const auto flushRun = [&](qsizetype end) {
    native += ToUtf8(path.mid(runStart, end - runStart));
  };
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t unit = path.at(i).unicode();
    // An escaped byte is a low surrogate of U+DC80..U+DCFF that no high surrogate precedes.
    const bool escaped = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF &&
                         (i == 0 || !path.at(i - 1).isHighSurrogate());
    if (escaped) {
      flushRun(i);
      native += static_cast<char>(unit - kEscapeBase);
      runStart = i + 1;
    }
  }
  flushRun(path.size());
  return std::filesystem::path(std::move(native));
}

}  // namespace velvasto::gui
