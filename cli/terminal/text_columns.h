#pragma once
// Text measured in terminal columns. Titles come from song files: they may hold wide (CJK)
// characters, which take two columns, and control characters, which must never reach the
// terminal (an escape sequence in a title could rewrite the screen).

#include <string>
#include <string_view>

namespace velvasto::cli {

// Columns the UTF-8 text takes once made safe by FitColumns.
int ColumnsOf(std::string_view utf8);

// `utf8` made safe for a terminal and cut to at most `columns` columns: control characters
// (C0, DEL, C1) and bytes that are not valid UTF-8 become '?', combining marks are kept with
// their character. Text cut short ends in "..." (within the limit).
std::string FitColumns(std::string_view utf8, int columns);

}  // namespace velvasto::cli
