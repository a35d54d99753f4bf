#pragma once
// CG36File: the reader of Recomposer songs in the version 3 layout (.g36, .g18): a wider
// header, 6-byte records with 16-bit steps and gates, same-measure references by measure
// number, and a second GSD control file. The conversion is CRCPFile's.

#include "song/rcp_file.h"

namespace velvasto {

class CG36File : public CRCPFile {
 public:
  explicit CG36File(SongSettings settings, RcpPassLimits limits = {}) : CRCPFile(std::move(settings), limits) {}

  // Measures a track can have in its measure table; further measure starts are not recorded.
  static constexpr std::size_t kMaxMeasures = 4096;

 protected:
  bool IsOwnKind(std::FILE* file) const override;
  SongKind Kind() const override { return SongKind::G36; }
  std::int32_t Subtype() const override;
  void ReadHeader(FileBytes& file, RcpSong& song) const override;
  void ReadUserExclusive(FileBytes& file, RcpSong& song) const override;
  void ReadTracks(FileBytes& file, RcpSong& song) const override;
};

// The measure table of a G36 track: the record index at which each measure starts. Measure 0
// starts at record 0; scanning up to the first end of track, a measure end not followed by a
// same-measure command starts a measure at the next record, and a same-measure command is a
// measure of its own (and, when no same-measure command follows it, starts one at the next
// record).
std::vector<std::uint32_t> G36MeasureTable(const std::vector<RcpRecord>& records);

}  // namespace velvasto
