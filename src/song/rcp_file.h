#pragma once
// CRCPFile: the reader of Recomposer songs in the version 2 layout (.rcp, .r36). It reads the
// header, the eight user exclusive templates and up to 100 tracks, then converts the tracks into
// the event table (rcp_converter.h). CG36File derives from it for the version 3 layout.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "song/file_bytes.h"
#include "song/midi_stream.h"
#include "song/rcp_limits.h"
#include "song/rcp_song.h"

namespace velvasto {

class CRCPFile : public CMIDIStream {
 public:
  // `limits` bound each conversion pass (see rcp_limits.h); its records limit is cut to the
  // table's.
  explicit CRCPFile(SongSettings settings, RcpPassLimits limits = {});

  // Loads and converts the song in `path`. Returns false, changing nothing, when the file is
  // not of this reader's kind. Every other failure throws (CSystemErrMessage when the file
  // cannot be opened, else CErrMessage), leaving the object without song data.
  bool Load(const std::filesystem::path& path);
  // The same for a file that is already open; `origin` is where it came from (the map lookup
  // reads the path and the control files are looked for beside it).
  bool Load(std::FILE* file, const std::filesystem::path& origin);

  SongInfo Info() const override;
  bool Loaded() const { return loaded_; }
  const RcpSong& Song() const { return song_; }
  // The length of the song proper: the end record's time minus the control blocks.
  // Throws error 6 (データが読み込まれていません。) before a song is loaded.
  std::uint64_t PlayTimeUs() const;

 protected:
  // The content test of this reader's kind; leaves the file after the magic.
  virtual bool IsOwnKind(std::FILE* file) const;
  virtual SongKind Kind() const { return SongKind::Rcp; }
  virtual std::int32_t Subtype() const;
  virtual void ReadHeader(FileBytes& file, RcpSong& song) const;
  virtual void ReadUserExclusive(FileBytes& file, RcpSong& song) const;
  virtual void ReadTracks(FileBytes& file, RcpSong& song) const;

  // Track-list reading shared by both layouts: reads tracks with `readTrack` until 100 are
  // read or it returns false (the list ends before the track it was to read: the end of the
  // file, a track cut short). A list that ends before its first track is a format error (2).
  // Returns whether the list ended early.
  static bool ReadTrackList(RcpSong& song, const std::function<bool(RcpTrack&)>& readTrack);
  // The fields both layouts share after the track size (track number and rhythm flag skipped,
  // channel, key, step shift, mode, comment), then the track's `recordBytes` bytes of records.
  static std::vector<std::uint8_t> ReadTrackFields(FileBytes& file, RcpTrack& track, std::size_t recordBytes);

  bool CountPass() override;
  std::uint32_t RecordCountOfCountPass() const override { return countedRecords_; }
  void FillPass() override;

 private:
  void FreeSong();
  // Runs one conversion pass; stores the records when `fill` is set.
  void RunPass(bool fill);

  friend class RcpConverter;

  RcpPassLimits limits_;
  RcpSong song_;
  bool loaded_ = false;
  std::uint32_t countedRecords_ = 0;
};

}  // namespace velvasto
