#pragma once
// Text in memory is UTF-8; the Japanese files the program reads and writes (list files, RCP and
// G36 titles and memos, control-file names) are in code page 932 (Shift-JIS as Windows has it).
// These two functions convert between the two through iconv's "CP932".

#include <optional>
#include <string>
#include <string_view>

namespace velvasto {

// CP932 bytes as UTF-8. A byte that does not start a valid character becomes U+FFFD and the
// conversion goes on with the next byte; a character cut off by the end of the input becomes
// one U+FFFD. Never throws for any input.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 text as CP932 bytes, or nullopt when the text holds a character CP932 cannot represent
// (or is not valid UTF-8).
std::optional<std::string> Utf8ToCp932(std::string_view text);

}  // namespace velvasto
