#include "song/midi_file.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "core/errors.h"
#include "core/file_type.h"
#include "core/map_scan.h"
#include "core/regular_file.h"
#include "core/text_codec.h"

namespace velvasto {

namespace {

// Larger files are refused as out of memory rather than read: no song comes near this size,
// and the table could not hold its events anyway.
constexpr long kMaxFileSize = 1L << 30;

std::vector<std::uint8_t> ReadWholeFile(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) throw CSystemErrMessage(errno);
  const long size = std::ftell(file);
  if (size < 0) throw CSystemErrMessage(errno);
  if (size > kMaxFileSize) throw CErrMessage(errc::kOutOfMemory);
  std::rewind(file);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    if (std::ferror(file)) throw CSystemErrMessage(errno);
    throw CErrMessage(errc::kBadFileFormat);  // the file shrank while it was read
  }
  return bytes;
}

}  // namespace

CMIDIFile::CMIDIFile(SongSettings settings) : CMIDIStream(std::move(settings)) {}

CMIDIFile::~CMIDIFile() = default;

bool CMIDIFile::Load(const std::filesystem::path& path) {
  const FilePtr file = OpenRegularStream(path);
  if (!file) {
    // A folder, FIFO or device holds no song of this kind.
    if (errno == EINVAL) return false;
    throw CSystemErrMessage(errno);
  }
  return LoadOpenFile(file.get(), path);
}

bool CMIDIFile::LoadFromMemory(std::span<const std::uint8_t> bytes, const std::filesystem::path& path) {
  // The bytes go through the same wrapper test and reading as a file on disk.
  if (bytes.empty()) return false;
  const FilePtr file(fmemopen(const_cast<std::uint8_t*>(bytes.data()), bytes.size(), "rb"));
  if (!file) throw CSystemErrMessage(errno);
  return LoadOpenFile(file.get(), path);
}

bool CMIDIFile::LoadOpenFile(std::FILE* file, const std::filesystem::path& path) {
  SmfWrapper wrapper;
  if (!IsStandardMidiFile(file, &wrapper)) return false;
  if (loaded_) throw CErrMessage(errc::kAlreadyLoaded);
  riff_ = wrapper.riff;
  macBinary_ = wrapper.macBinary;
  try {
    LoadImage(ReadWholeFile(file), static_cast<std::size_t>(wrapper.offset), path);
  } catch (const std::bad_alloc&) {
    throw CErrMessage(errc::kOutOfMemory);
  } catch (const std::length_error&) {
    throw CErrMessage(errc::kOutOfMemory);
  }
  return true;
}

void CMIDIFile::LoadImage(std::vector<std::uint8_t> image, std::size_t headerOffset,
                          const std::filesystem::path& path) {
  const SongSettings& settings = Settings();
  if (settings.mapMode == 1 && !path.empty()) {
    const std::uint32_t map = MapScan(path.string(), settings.sc55Scan, settings.sc88Scan, settings.sc88ProScan);
    if (map != 0) SetFileMap(map);
  }
  image_ = std::move(image);
  layout_ = ParseSmfChunks(image_, headerOffset);
  // Read once, so that both passes see the same settings.
  if (!path.empty()) trackSettings_ = ReadTrackSettingsFile(path);
  loaded_ = true;
  BuildTable();
}

int CMIDIFile::TrackCount() const {
  if (!loaded_) throw CErrMessage(errc::kNotLoaded);
  return static_cast<int>(layout_.tracks.size());
}

SongInfo CMIDIFile::Info() const {
  SongInfo info;
  info.kind = SongKind::Smf;
  info.subtype = static_cast<std::int32_t>(layout_.format);
  info.riff = riff_;
  info.macBinary = macBinary_;
  info.trackCount = static_cast<std::int32_t>(layout_.tracks.size());
  info.timeBase = layout_.division;
  info.title = Cp932ToUtf8(title_);
  info.playTimeUs = endTime_ - SongStartTime();
  info.mapResult = MapLsb();
  return info;
}

}  // namespace velvasto
