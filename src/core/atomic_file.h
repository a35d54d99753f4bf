#pragma once
// Replacing a file so that a reader, or the disk after a crash, sees either the old contents or
// the new ones, never a mixture or a truncated file.

#include <filesystem>
#include <string_view>

namespace velvasto {

// Writes `bytes` as the new version of the file at `path` (see ReplacementFile: a temporary
// file in the same folder, flushed to the disk and renamed over it; a symbolic link followed;
// the old permission bits kept). On any failure the old file is untouched, the temporary file
// is removed, errno tells why, and the result is false.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace velvasto
