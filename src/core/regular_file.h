#pragma once
// Opening the files the program reads — songs, list files, settings, the files beside a song —
// so that only a regular file is ever read. A FIFO would hold the open until a writer came, a
// device such as /dev/zero never ends, and a folder holds no bytes: each of them counts as no
// readable file, at once.

#include <cstdio>
#include <filesystem>
#include <memory>

namespace velvasto {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The descriptor (close-on-exec) of the file at `path` opened for reading when it is a regular
// file, symbolic links followed. -1 otherwise, with errno telling why: the system's reason when
// it cannot be opened, EINVAL for something other than a regular file (never opened in a way
// that waits).
int OpenRegularFile(const std::filesystem::path& path);

// The same as a binary stream; null with errno as above.
FilePtr OpenRegularStream(const std::filesystem::path& path);

}  // namespace velvasto
