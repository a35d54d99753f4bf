#include "song/g36_file.h"

#include "core/errors.h"
#include "core/file_type.h"

namespace velvasto {

namespace {

constexpr std::uint64_t kTitleOffset = 0x20;
constexpr std::size_t kTitleSize = 64;
constexpr std::uint64_t kMemoOffset = 0xA0;
constexpr std::size_t kMemoSize = 360;
constexpr std::uint64_t kControlNamesOffset = 0x298;
constexpr std::size_t kControlNameSize = 12;
constexpr std::size_t kAfterControlName = 4;
constexpr std::uint64_t kUserExclusiveOffset = 0xB18;
constexpr std::size_t kUserExclusiveNameSize = 23;
constexpr std::size_t kUserExclusiveSize = 25;
constexpr std::uint32_t kTrackHeaderSize = 46;
constexpr std::size_t kRecordSize = 6;
// The block that follows the tracks of a G36 file.
constexpr std::uint32_t kRcfwTag = 'R' | 'C' << 8 | 'F' << 16 | static_cast<std::uint32_t>('W') << 24;
constexpr std::uint8_t kG18TrackCount = 18;

}  // namespace

bool CG36File::IsOwnKind(std::FILE* file) const { return IsRcp3File(file); }

std::int32_t CG36File::Subtype() const { return Song().headerTrackCount == kG18TrackCount ? 1 : 0; }

void CG36File::ReadHeader(FileBytes& file, RcpSong& song) const {
  song.layout = {errc::kG36Damaged, true};
  file.SeekTo(kTitleOffset);
  song.title = file.Text(kTitleSize);
  file.SeekTo(kMemoOffset);
  song.memo.assign(kMemoSize, '\0');
  file.Read(song.memo.data(), kMemoSize);
  song.headerTrackCount = file.U8();
  song.trackCount = song.headerTrackCount;
  file.Skip(1);
  song.timeBase = file.LE16();
  song.tempo = file.LE16();
  song.beatNumerator = file.U8();
  song.beatDenominator = file.U8();
  song.key = file.U8();
  song.playBias = static_cast<std::int8_t>(file.U8());
  file.SeekTo(kControlNamesOffset);
  song.gsdName = file.Text(kControlNameSize);
  file.Skip(kAfterControlName);
  song.gsd2Name = file.Text(kControlNameSize);
  file.Skip(kAfterControlName);
  song.cm6Name = file.Text(kControlNameSize);
  song.is36Track = false;
}

void CG36File::ReadUserExclusive(FileBytes& file, RcpSong& song) const {
  file.SeekTo(kUserExclusiveOffset);
  song.userExclusiveSize = kUserExclusiveSize;
  for (auto& pattern : song.userExclusives) {
    file.Skip(kUserExclusiveNameSize);
    file.Read(pattern.data(), kUserExclusiveSize);
  }
}

void CG36File::ReadTracks(FileBytes& file, RcpSong& song) const {
  const bool endedEarly = ReadTrackList(song, [&file](RcpTrack& track) {
    if (file.Remaining() < 4) return false;
    const std::uint32_t size = file.LE32();
    // "RCFW" ends the track list, and so does a track cut short by the end of the file; a size
    // inside the track header cannot be right anywhere in the list.
    if (size == kRcfwTag) return false;
    if (size < kTrackHeaderSize) throw CErrMessage(errc::kBadFileFormat);
    if (size - 4 > file.Remaining()) return false;
    const std::vector<std::uint8_t> bytes = ReadTrackFields(file, track, size - kTrackHeaderSize);
    track.records.resize(bytes.size() / kRecordSize);
    for (std::size_t i = 0; i < track.records.size(); ++i) {
      const std::uint8_t* raw = &bytes[i * kRecordSize];
      RcpRecord& record = track.records[i];
      record.command = raw[0];
      record.data2 = raw[1];
      record.step = static_cast<std::uint16_t>(raw[2] | raw[3] << 8);
      record.data1 = raw[4];
      record.gate = static_cast<std::uint16_t>(raw[4] | raw[5] << 8);
    }
    const std::vector<std::uint32_t> measures = G36MeasureTable(track.records);
    for (RcpRecord& record : track.records) {
      // A same-measure command names its measure in the step field.
      if (record.command != 0xFC) continue;
      const std::uint32_t index = record.step < measures.size() ? measures[record.step] : RcpRecord::kNoTarget;
      record.target = index < track.records.size() ? index : RcpRecord::kNoTarget;
    }
    return true;
  });
  if (endedEarly) song.trackCount = song.tracks.size();
}

std::vector<std::uint32_t> G36MeasureTable(const std::vector<RcpRecord>& records) {
  std::vector<std::uint32_t> measures{0};
  auto add = [&measures](std::size_t index) {
    if (measures.size() < CG36File::kMaxMeasures) measures.push_back(static_cast<std::uint32_t>(index));
  };
  for (std::size_t i = 0; i < records.size() && records[i].command != 0xFE; ++i) {
    const bool sameMeasureNext = i + 1 < records.size() && records[i + 1].command == 0xFC;
    if (records[i].command == 0xFD && !sameMeasureNext) {
      add(i + 1);
    } else if (records[i].command == 0xFC) {
      add(i);
      if (!sameMeasureNext) add(i + 1);
    }
  }
  return measures;
}

}  // namespace velvasto
