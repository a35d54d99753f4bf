#include "core/utf8.h"

namespace velvasto {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of a sequence led by `lead`; 1 for ASCII and for bytes that cannot lead.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

}  // namespace

std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t chars = 0; chars < maxChars && pos < text.size(); ++chars) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[pos]));
    std::size_t next = pos + 1;
    while (next < pos + length && next < text.size() && IsContinuation(static_cast<unsigned char>(text[next]))) {
      ++next;
    }
    pos = next;
  }
  return text.substr(0, pos);
}

}  // namespace velvasto
