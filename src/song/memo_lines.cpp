#include "song/memo_lines.h"

#include <string_view>

#include "core/text_codec.h"

namespace velvasto {

namespace {

constexpr std::size_t kMemoLines = 12;

}  // namespace

std::vector<std::string> MemoLines(const SongInfo& info) {
  if (info.kind == SongKind::Smf) return {};
  const std::size_t width = info.kind == SongKind::Rcp ? 28 : 30;
  const std::string_view memo = info.memo;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < kMemoLines && i * width < memo.size(); ++i) {
    std::string_view line = memo.substr(i * width, width);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\0')) line.remove_suffix(1);
    lines.push_back(Cp932ToUtf8(line));
  }
  return lines;
}

}  // namespace velvasto
