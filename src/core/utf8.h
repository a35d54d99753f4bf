#pragma once
// Counting characters in UTF-8 text.

#include <cstddef>
#include <string_view>

namespace velvasto {

// The longest start of `text` that holds at most `maxChars` characters and ends on a character
// boundary. A byte that does not belong to a well-formed sequence counts as one character, so
// the prefix is never longer than 4 × maxChars bytes.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars);

}  // namespace velvasto
