#pragma once
// Replacing a file so that a reader, or the disk after a crash, sees either the old contents or
// the new ones, never a mixture or a truncated file.

#include <filesystem>
#include <string_view>

namespace velvasto {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to the disk and renames
// it over `path`. A symbolic link at `path` is followed, so the file it points to is replaced
// and the link stays. The new file keeps the old file's permission bits (0644 for a new file).
// On any failure the old file is untouched, the temporary file is removed, errno tells why,
// and the result is false.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace velvasto
