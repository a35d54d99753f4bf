#pragma once
// CMIDIFile: reads a Standard MIDI File of format 0 or 1 (plain, RIFF-wrapped with "MThd" at
// byte 20, or MacBinary with "MThd" at byte 128) into the event table: it merges the tracks by
// their delta times, converts every tick to exact microseconds with the tempo in force and
// stores each event addressed to port A or port B.
//
// How the reader settles what files leave open:
// - Times are exact: each tick is converted with the file's own microseconds per quarter note
//   and the remainder is carried over the whole song, so every record's time is the exact time
//   rounded to the microsecond. Tempo records carry whole beats per minute for the displays.
//   A song that would last longer than 2^31 - 1 seconds is a damaged file (error 2).
// - A tempo event of 0 microseconds is ignored. A header declaring 0 tracks gives an empty
//   song (the end record only).
// - Channel messages go through the channel converter (map LSB, "55 Adjust", "8850 Fix").
//   The drum-pitch exclusive message is made for the drum map the part plays, followed
//   through the song's own GS exclusive messages (see gs_rhythm_parts.h).
// - The track settings file (see smf_track_settings.h) is read once per load, so that both
//   passes use the same settings.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "song/midi_stream.h"
#include "song/smf_chunks.h"
#include "song/smf_track_settings.h"

namespace velvasto {

class CMIDIFile : public CMIDIStream {
 public:
  explicit CMIDIFile(SongSettings settings);
  ~CMIDIFile() override;

  // Loads the file at `path`. Returns false, having changed nothing, when no "MThd" stands at
  // byte 0, 20 or 128. Throws CErrMessage otherwise: 1 out of memory, 2 damaged file, 3 format
  // not 0 or 1, 4 more than 100 tracks, 5 unsupported time base, 22 data byte without running
  // status, 10 when a song is already loaded; CSystemErrMessage when the file cannot be read.
  bool Load(const std::filesystem::path& path);
  // The same for a file's bytes. `path`, when given, names the song for the map scan and its
  // track settings file.
  bool LoadFromMemory(std::span<const std::uint8_t> bytes, const std::filesystem::path& path = {});

  // Number of tracks; throws error 6 before a song is loaded.
  int TrackCount() const;
  SongInfo Info() const override;

 protected:
  bool CountPass() override;
  std::uint32_t RecordCountOfCountPass() const override { return countedRecords_; }
  void FillPass() override;

 private:
  class Pass;

  // Both loads: the wrapper test on `file`, then the whole file read and loaded.
  bool LoadOpenFile(std::FILE* file, const std::filesystem::path& path);
  void LoadImage(std::vector<std::uint8_t> image, std::size_t headerOffset, const std::filesystem::path& path);

  bool loaded_ = false;
  bool riff_ = false;
  bool macBinary_ = false;
  std::vector<std::uint8_t> image_;  // the whole file; the layout's tracks point into it
  SmfLayout layout_;
  TrackSettings trackSettings_{};
  std::uint32_t countedRecords_ = 0;
  std::string title_;  // first text or track name of track 0, in CP932 as the file has it
  std::uint64_t endTime_ = 0;
};

}  // namespace velvasto
