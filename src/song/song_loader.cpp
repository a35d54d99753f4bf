#include "song/song_loader.h"

#include "core/errors.h"
#include "song/g36_file.h"
#include "song/midi_file.h"

namespace velvasto {

std::unique_ptr<CMIDIStream> LoadSong(const std::filesystem::path& path, const SongSettings& settings) {
  if (auto smf = std::make_unique<CMIDIFile>(settings); smf->Load(path)) return smf;
  if (auto rcp = std::make_unique<CRCPFile>(settings); rcp->Load(path)) return rcp;
  if (auto g36 = std::make_unique<CG36File>(settings); g36->Load(path)) return g36;
  throw CErrMessage(errc::kUnsupportedFileType);
}

}  // namespace velvasto
