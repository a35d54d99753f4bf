#pragma once
// List files (.mlt): CP932 text with CR LF line ends. Version 3.0 is written and read; the older
// version 2.0 is read.
//
// Version 3.0, line by line:
//   [Velvasto List File Version 3.0]
//   (empty)
//   [FileName]
//   (empty)
//   one path per entry
//   (empty)
//   [Section END]
//   (empty)
//   then for each of [Volume], [MapMode], [ForceMap], [55Adjust]: the tag, an empty line, one
//   decimal value per entry, an empty line, [Section END], and an empty line between sections.
// The file ends right after the CR LF of the last [Section END].
// Version 2.0 has the sections [FileName], [Volume], [55Map] (read as the map mode) and
// [55Adjust].

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "playlist/play_list.h"

namespace velvasto {

enum class ListLoadMode { Replace, Append };

// Turns a name read from a list file into the full path of an existing song file, or nothing
// when there is none. The program uses FindFile.
using ListNameResolver = std::function<std::optional<std::filesystem::path>(std::string_view name)>;

// Reads the list file at `path` into `list`. Replace clears the list first; Append keeps its
// entries and empties its random history. Either way the list takes `path` as its file name.
// Names whose files do not exist are dropped; the values of the later sections still go, in
// order, to the entries that were kept. New entries start with volume `newEntryVolume` and
// the other settings 0. Loading leaves the modified flag as it was (cleared by Replace).
// Throws CErrMessage 18 (message 62019) when the file cannot be opened, carries neither
// version's first line, or has no [FileName] section; entries added before that stay.
void LoadListFile(CPlayList& list, const std::filesystem::path& path, ListLoadMode mode, std::int32_t newEntryVolume,
                  const ListNameResolver& resolve = nullptr);

// Reads the entries of an open list file (of either version) and appends them to `list`; the
// reading rules of LoadListFile. False when the file has no version line or no [FileName].
bool ReadListEntries(std::FILE* file, CPlayList& list, std::int32_t newEntryVolume, const ListNameResolver& resolve);

// The bytes of `list` as a version 3.0 list file. Throws CErrMessage 19 (message 62020) when a
// path has more than 260 characters, a character CP932 cannot hold, or a CR, LF or 0x1A (which
// would end its line or the file when read back).
std::string ListFileBytes(const CPlayList& list);

// Writes the list to its file, after taking `newFileName` as its file name when one is given,
// and clears the modified flag. Every path is checked before anything is written, and the new
// file replaces the old one only once it is complete, so a failure leaves the old file as it
// was. Throws CErrMessage 19 (message 62020) on any failure, the modified flag then unchanged.
void SaveListFile(CPlayList& list, const std::optional<std::filesystem::path>& newFileName = std::nullopt);

}  // namespace velvasto
