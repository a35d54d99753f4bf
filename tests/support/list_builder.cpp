#include "support/list_builder.h"

#include <stdexcept>

#include "core/text_codec.h"

namespace velvasto::test {

std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string Cp932(std::string_view text) {
  auto bytes = Utf8ToCp932(text);
  if (!bytes) throw std::invalid_argument("no CP932 form");
  return *bytes;
}

}  // namespace velvasto::test
