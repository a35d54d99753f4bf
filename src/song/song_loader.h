#pragma once
// Loads a song with the first reader that accepts the file. Readers judge files by their
// content; the file name's extension plays no part.

#include <filesystem>
#include <memory>

#include "song/midi_stream.h"
#include "song/song_settings.h"

namespace velvasto {

// Asks the Standard MIDI File reader, then the RCP reader, then the G36 reader. Throws
// CErrMessage(errc::kUnsupportedFileType) when none accepts the file, and passes on the error of
// the reader that accepted it but could not load it.
std::unique_ptr<CMIDIStream> LoadSong(const std::filesystem::path& path, const SongSettings& settings);

}  // namespace velvasto
