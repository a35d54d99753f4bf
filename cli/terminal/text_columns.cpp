#include "cli/terminal/text_columns.h"

#include <cstdint>

namespace velvasto::cli {
namespace {

constexpr std::string_view kEllipsis = "...";

struct Decoded {
  char32_t codePoint;
  std::size_t length;  // bytes taken from the input
  bool valid;
};

// One UTF-8 sequence at the start of `text` (not empty); an invalid one takes one byte.
Decoded DecodeOne(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, minimum = 0x10000;
  } else {
    return {0, 1, false};
  }
  if (text.size() < length) return {0, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {0, 1, false};
    codePoint = codePoint << 6 | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return {0, 1, false};
  }
  return {codePoint, length, true};
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

bool IsCombining(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200B || c == 0x200C ||
         c == 0x200D || (c >= 0x3099 && c <= 0x309A) || (c >= 0xFE00 && c <= 0xFE0F);
}

// East Asian wide and fullwidth ranges (the half-width katakana U+FF61..FF9F stay narrow).
bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// One character as it goes to the terminal: its bytes (or "?") and its columns.
struct Shown {
  std::string_view bytes;
  int columns;
};

Shown ShowOne(std::string_view text, std::size_t& position) {
  const Decoded decoded = DecodeOne(text.substr(position));
  const std::string_view bytes = text.substr(position, decoded.length);
  position += decoded.length;
  if (!decoded.valid || IsControl(decoded.codePoint)) return {"?", 1};
  if (IsCombining(decoded.codePoint)) return {bytes, 0};
  return {bytes, IsWide(decoded.codePoint) ? 2 : 1};
}

}  // namespace

int ColumnsOf(std::string_view utf8) {
  int columns = 0;
  for (std::size_t position = 0; position < utf8.size();) columns += ShowOne(utf8, position).columns;
  return columns;
}

std::string FitColumns(std::string_view utf8, int columns) {
  if (columns <= 0) return {};
  const bool fits = ColumnsOf(utf8) <= columns;
  // Room left for the text itself when it must be cut.
  const int limit = fits ? columns : columns - static_cast<int>(kEllipsis.size());
  std::string out;
  int used = 0;
  for (std::size_t position = 0; position < utf8.size();) {
    const Shown shown = ShowOne(utf8, position);
    if (used + shown.columns > limit) break;
    out += shown.bytes;
    used += shown.columns;
  }
  if (!fits) out += kEllipsis.substr(0, static_cast<std::size_t>(columns - used));
  return out;
}

}  // namespace velvasto::cli
