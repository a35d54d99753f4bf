#pragma once
// Builds the bytes of list files in code: lines ended by CR LF, names in CP932.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/text_codec.h"

namespace velvasto::test {

// Each line followed by CR LF.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

// The CP932 bytes of UTF-8 `text` (which must have a CP932 form).
inline std::string Cp932(std::string_view text) {
  auto bytes = Utf8ToCp932(text);
  if (!bytes) throw std::invalid_argument("no CP932 form");
  return *bytes;
}

}  // namespace velvasto::test
