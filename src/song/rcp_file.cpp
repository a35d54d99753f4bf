#include "song/rcp_file.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "core/errors.h"
#include "core/file_type.h"
#include "core/map_scan.h"
#include "core/regular_file.h"
#include "core/text_codec.h"
#include "song/control_files.h"
#include "song/rcp_converter.h"

namespace velvasto {

namespace {

// Header layout of version 2 files, after the 28-byte magic.
constexpr std::size_t kRestOfMagicLine = 4;
constexpr std::size_t kTitleSize = 64;
constexpr std::size_t kMemoSize = 336;
constexpr std::size_t kBeforeTimeBase = 16;
constexpr std::size_t kControlNameSize = 12;
constexpr std::size_t kAfterControlName = 4;
// Rhythm definitions between the header and the user exclusives; the player does not use them.
constexpr std::size_t kRhythmArea = 542;
constexpr std::size_t kUserExclusiveNameSize = 24;
constexpr std::size_t kUserExclusiveSize = 24;
constexpr std::uint32_t kTrackHeaderSize = 44;
constexpr std::size_t kRecordSize = 4;
constexpr std::size_t kCommentSize = 36;

// The record index a same-measure command of an RCP track of `recordCount` records refers to:
// its bytes 2 and 3 give the byte offset of the measure within the track, header included. An
// offset inside the header or past the last record names no record.
std::uint32_t SameMeasureTarget(const RcpRecord& record, std::size_t recordCount) {
  const std::uint32_t offset = (record.data1 & 0xFCu) + 256u * record.data2;
  if (offset < kTrackHeaderSize) return RcpRecord::kNoTarget;
  const std::uint32_t index = (offset - kTrackHeaderSize) / kRecordSize;
  return index < recordCount ? index : RcpRecord::kNoTarget;
}

}  // namespace

CRCPFile::CRCPFile(SongSettings settings, RcpPassLimits limits)
    : CMIDIStream(std::move(settings)), limits_(limits) {
  limits_.maxRecords = std::min(limits_.maxRecords, kMaxEvents);
}

bool CRCPFile::Load(const std::filesystem::path& path) {
  const FilePtr file = OpenRegularStream(path);
  if (!file) {
    // A folder, FIFO or device holds no song of this kind.
    if (errno == EINVAL) return false;
    throw CSystemErrMessage(errno);
  }
  return Load(file.get(), path);
}

bool CRCPFile::Load(std::FILE* file, const std::filesystem::path& origin) {
  if (!IsOwnKind(file)) return false;
  if (loaded_) throw CErrMessage(errc::kAlreadyLoaded);
  const SongSettings& settings = Settings();
  auto scan = [&settings](std::string_view text) {
    return MapScan(text, settings.sc55Scan, settings.sc88Scan, settings.sc88ProScan);
  };
  try {
    if (settings.mapMode == 1) {
      if (const std::uint32_t map = scan(origin.string()); map != 0) SetFileMap(map);
    }
    RcpSong song;
    FileBytes bytes(file);
    ReadHeader(bytes, song);
    ReadUserExclusive(bytes, song);
    ReadTracks(bytes, song);
    song_ = std::move(song);
    if (settings.mapMode == 1 && !FileMapKnown()) {
      std::uint32_t map = scan(Cp932ToUtf8(song_.title));
      if (map == 0) map = scan(Cp932ToUtf8(song_.memo));
      SetFileMap(map);
    }
    song_.cm6Data = LoadControlFile(origin, song_.cm6Name, ControlFileKind::Cm6);
    song_.gsdData = LoadControlFile(origin, song_.gsdName, ControlFileKind::Gsd);
    song_.gsd2Data = LoadControlFile(origin, song_.gsd2Name, ControlFileKind::Gsd2);
    loaded_ = true;
    BuildTable();
  } catch (const std::bad_alloc&) {
    FreeSong();
    throw CErrMessage(errc::kOutOfMemory);
  } catch (...) {
    FreeSong();
    throw;
  }
  return true;
}

void CRCPFile::FreeSong() {
  song_ = RcpSong{};
  loaded_ = false;
}

bool CRCPFile::IsOwnKind(std::FILE* file) const { return IsRcpFile(file); }

std::int32_t CRCPFile::Subtype() const { return song_.is36Track ? 1 : 0; }

void CRCPFile::ReadHeader(FileBytes& file, RcpSong& song) const {
  song.layout = {errc::kRcpDamaged, false};
  file.Skip(kRestOfMagicLine);
  song.title = file.Text(kTitleSize);
  song.memo.assign(kMemoSize, '\0');
  file.Read(song.memo.data(), kMemoSize);
  file.Skip(kBeforeTimeBase);
  const std::uint8_t timeBaseLow = file.U8();
  song.tempo = file.U8();
  song.beatNumerator = file.U8();
  song.beatDenominator = file.U8();
  song.key = file.U8();
  song.playBias = static_cast<std::int8_t>(file.U8());
  song.cm6Name = file.Text(kControlNameSize);
  file.Skip(kAfterControlName);
  song.gsdName = file.Text(kControlNameSize);
  file.Skip(kAfterControlName);
  song.headerTrackCount = file.U8();
  song.is36Track = song.headerTrackCount == 36;
  song.trackCount = song.is36Track ? 36 : 18;
  song.timeBase = timeBaseLow + 256u * file.U8();
}

void CRCPFile::ReadUserExclusive(FileBytes& file, RcpSong& song) const {
  file.Skip(kRhythmArea);
  song.userExclusiveSize = kUserExclusiveSize;
  for (auto& pattern : song.userExclusives) {
    file.Skip(kUserExclusiveNameSize);
    file.Read(pattern.data(), kUserExclusiveSize);
  }
}

void CRCPFile::ReadTracks(FileBytes& file, RcpSong& song) const {
  const bool endedEarly = ReadTrackList(song, [&file](RcpTrack& track) {
    if (file.Remaining() < 2) return false;
    const std::uint32_t size = file.LE16();
    // A track cut short by the end of the file ends the list; a size inside the track header
    // cannot be right anywhere in the list.
    if (size < kTrackHeaderSize) throw CErrMessage(errc::kBadFileFormat);
    if (size - 2 > file.Remaining()) return false;
    const std::vector<std::uint8_t> bytes = ReadTrackFields(file, track, size - kTrackHeaderSize);
    track.records.resize(bytes.size() / kRecordSize);
    for (std::size_t i = 0; i < track.records.size(); ++i) {
      const std::uint8_t* raw = &bytes[i * kRecordSize];
      RcpRecord& record = track.records[i];
      record.command = raw[0];
      record.step = raw[1];
      record.data1 = raw[2];
      record.data2 = raw[3];
      record.gate = raw[2];
      if (record.command == 0xFC) record.target = SameMeasureTarget(record, track.records.size());
    }
    return true;
  });
  if (endedEarly) {
    song.trackCount = song.tracks.size();
    song.is36Track = song.trackCount != 18;
  }
}

std::vector<std::uint8_t> CRCPFile::ReadTrackFields(FileBytes& file, RcpTrack& track, std::size_t recordBytes) {
  file.Skip(2);  // track number, rhythm flag
  track.channel = file.U8();
  track.key = file.U8();
  track.stepShift = static_cast<std::int8_t>(file.U8());
  track.mode = file.U8();
  track.comment = file.Text(kCommentSize);
  std::vector<std::uint8_t> bytes(recordBytes);
  file.Read(bytes.data(), bytes.size());
  return bytes;
}

bool CRCPFile::ReadTrackList(RcpSong& song, const std::function<bool(RcpTrack&)>& readTrack) {
  song.tracks.clear();
  while (song.tracks.size() < kRcpMaxTracks) {
    RcpTrack track;
    if (!readTrack(track)) {
      if (song.tracks.empty()) throw CErrMessage(errc::kBadFileFormat);
      return true;
    }
    song.tracks.push_back(std::move(track));
  }
  // With the list full, the header's count stands, as far as there are tracks for it.
  if (song.trackCount > song.tracks.size()) song.trackCount = song.tracks.size();
  return false;
}

bool CRCPFile::CountPass() {
  RunPass(false);
  return true;
}

void CRCPFile::FillPass() { RunPass(true); }

void CRCPFile::RunPass(bool fill) {
  if (!loaded_) throw CErrMessage(errc::kNotLoaded);
  RcpConverter converter(*this, fill);
  converter.Run();
  if (!fill) countedRecords_ = converter.RecordCount();
}

std::uint64_t CRCPFile::PlayTimeUs() const {
  if (!loaded_ || !HasTable()) throw CErrMessage(errc::kNotLoaded);
  return Events().back().time - SongStartTime();
}

SongInfo CRCPFile::Info() const {
  SongInfo info;
  info.kind = Kind();
  info.subtype = Subtype();
  info.title = Cp932ToUtf8(song_.title);
  info.memo = song_.memo;
  info.cm6File = Cp932ToUtf8(song_.cm6Name);
  info.gsdFile = Cp932ToUtf8(song_.gsdName);
  info.gsd2File = Cp932ToUtf8(song_.gsd2Name);
  info.cm6Loaded = !song_.cm6Data.empty();
  info.gsdLoaded = !song_.gsdData.empty();
  info.gsd2Loaded = !song_.gsd2Data.empty();
  info.is36Track = song_.is36Track;
  info.timeBase = song_.timeBase;
  info.trackCount = static_cast<std::int32_t>(song_.trackCount);
  info.mapResult = MapLsb();
  if (loaded_ && HasTable()) info.playTimeUs = PlayTimeUs();
  return info;
}

}  // namespace velvasto
