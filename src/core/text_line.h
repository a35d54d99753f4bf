#pragma once
// Reading the text files the program shares with Windows (list files, track settings files):
// CP932 lines ended by CR LF or LF, sometimes closed by an end-of-file mark 0x1A.

#include <cstddef>
#include <cstdio>
#include <string>

namespace velvasto {

// Longest line kept, in bytes; further bytes of a longer line are read and dropped.
inline constexpr std::size_t kMaxTextLineBytes = 4095;

// Reads the next line of `file` into `line` as UTF-8. LF or 0x1A ends the line and is consumed,
// CR is dropped wherever it stands, and the end of the file ends the line too. The kept bytes
// (at most kMaxTextLineBytes) are converted from CP932 and cut to maxChars - 1 characters,
// never inside a character. True only when the line ended with LF; false at the end of the
// file or at 0x1A, with `line` holding whatever was read before it.
bool ReadTextLine(std::FILE* file, std::string& line, std::size_t maxChars);

}  // namespace velvasto
