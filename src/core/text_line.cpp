#include "core/text_line.h"

#include "core/text_codec.h"
#include "core/utf8.h"

namespace velvasto {
namespace {

constexpr int kLineFeed = 0x0A;
constexpr int kCarriageReturn = 0x0D;
constexpr int kEndOfFileMark = 0x1A;

}  // namespace

bool ReadTextLine(std::FILE* file, std::string& line, std::size_t maxChars) {
  std::string bytes;
  bytes.reserve(256);
  bool endedWithLineFeed = false;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c == kLineFeed) {
      endedWithLineFeed = true;
      break;
    }
    if (c == kEndOfFileMark) break;
    if (c != kCarriageReturn && bytes.size() < kMaxTextLineBytes) bytes += static_cast<char>(c);
  }
  const std::string text = Cp932ToUtf8(bytes);
  line.assign(Utf8Prefix(text, maxChars == 0 ? 0 : maxChars - 1));
  return endedWithLineFeed;
}

}  // namespace velvasto
