#pragma once
// Builds the bytes of list files in code: lines ended by CR LF, names in CP932.

#include <initializer_list>
#include <string>
#include <string_view>

namespace velvasto::test {

// Each line followed by CR LF.
std::string CrLfLines(std::initializer_list<std::string_view> lines);
// The CP932 bytes of UTF-8 `text` (which must have a CP932 form).
std::string Cp932(std::string_view text);

}  // namespace velvasto::test
