#include "song/song_loader.h"

#include "core/errors.h"
#include "song/midi_file.h"

namespace velvasto {

std::unique_ptr<CMIDIStream> LoadSong(const std::filesystem::path& path, const SongSettings& settings) {
  auto smf = std::make_unique<CMIDIFile>(settings);
  if (smf->Load(path)) return smf;
  throw CErrMessage(errc::kUnsupportedFileType);
}

}  // namespace velvasto
