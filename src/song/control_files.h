#pragma once
// The control files a Recomposer song names in its header: a CM6 file (a complete CM-64 set-up)
// and a GSD file (a GS set-up); G36 songs may name a second GSD file. They lie in the song's
// folder. A control file that cannot be used is left out without a word: it never stops the
// song from loading.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace velvasto {

enum class ControlFileKind { Cm6, Gsd, Gsd2 };

inline constexpr std::size_t kCm6FileSize = 22601;
inline constexpr std::size_t kGsdFileSize = 2673;

// The number of bytes read of a control file of `kind`; a longer file is used, its further
// bytes ignored.
std::size_t ControlFileSize(ControlFileKind kind);

// The file `name` (CP932, as the header holds it; trailing blanks do not count) in the folder of
// `songPath`. When no file has exactly that name, a file whose name differs only in the case
// of its letters is taken (the first in name order), since these names come from systems that
// ignore case. Nothing for a blank name, a name that reaches outside the folder ("..", a
// folder separator) or when no regular file matches.
std::optional<std::filesystem::path> FindControlFile(const std::filesystem::path& songPath, std::string_view name);

// The first `size` bytes of `file`. Throws error 8 (コントロールファイルが壊れています。) when the
// file holds fewer.
std::vector<std::uint8_t> ReadControlFile(std::FILE* file, std::size_t size);

// The bytes of the control file of `kind` named `name` beside `songPath`, exactly
// ControlFileSize(kind) of them; empty when there is no such file or it cannot be used (blank
// name, missing, unreadable, too short, out of memory).
std::vector<std::uint8_t> LoadControlFile(const std::filesystem::path& songPath, std::string_view name,
                                          ControlFileKind kind);

}  // namespace velvasto
