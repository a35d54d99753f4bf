#pragma once
// The program's version strings, looked up by the names of a Windows version resource.

#include <string>
#include <string_view>

namespace velvasto {

// The value of "ProductName", "FileVersion", "Comments" or "LegalCopyright" (names compared
// exactly); empty for any other name.
std::string VersionString(std::string_view name);

}  // namespace velvasto
