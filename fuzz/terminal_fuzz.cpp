// Feeds arbitrary bytes to what the terminal player shows and reads: song titles fitted to the
// status line, and keyboard bytes decoded into commands. Layout of an input: one byte of
// columns, one byte of split position, then the bytes. Besides not crashing: fitted text never
// exceeds its columns and never carries a control character or broken UTF-8 to the terminal,
// the status line never exceeds its columns, and key decoding gives the same commands however
// the bytes are split across reads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/terminal/key_decoder.h"
#include "cli/terminal/status_format.h"
#include "cli/terminal/text_columns.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Valid UTF-8 with no C0, DEL or C1 control character.
bool SafeForTerminal(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x20 || lead == 0x7F) return false;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    if (code < 0xA0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int columns = data[0];
  const std::size_t split = data[1];
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  const std::string fitted = velvasto::cli::FitColumns(text, columns);
  Check(velvasto::cli::ColumnsOf(fitted) <= columns);
  Check(SafeForTerminal(fitted));

  velvasto::cli::PlayStatus status;
  status.title = std::string(text);
  status.positionSeconds = static_cast<std::uint32_t>(size * 977);
  status.lengthSeconds = 4000;
  status.paused = (columns & 1) != 0;
  if (columns & 2) status.list = velvasto::cli::ListPosition{static_cast<int>(split), 1024};
  const std::string line = velvasto::cli::FormatPlayStatus(status, columns);
  Check(velvasto::cli::ColumnsOf(line) <= columns);
  Check(SafeForTerminal(line));

  const auto* bytes = data + 2;
  const std::size_t count = size - 2;
  const std::size_t cut = split < count ? split : count;
  std::vector<velvasto::cli::KeyCommand> whole;
  std::vector<velvasto::cli::KeyCommand> pieces;
  velvasto::cli::KeyDecoder().Feed({bytes, count}, whole);
  velvasto::cli::KeyDecoder decoder;
  decoder.Feed({bytes, cut}, pieces);
  decoder.Feed({bytes + cut, count - cut}, pieces);
  Check(whole == pieces);
  return 0;
}
