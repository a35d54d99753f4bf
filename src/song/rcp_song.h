#pragma once
// Everything a Recomposer song file holds that the player uses, as read by CRCPFile (RCP/R36)
// or CG36File (G36/G18). The conversion machine reads only this.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "song/rcp_track.h"

namespace velvasto {

// The most tracks a song may have; further tracks in a file are not read.
inline constexpr std::size_t kRcpMaxTracks = 100;
// Room for the longest user exclusive template (25 bytes in G36 files, 24 in RCP files).
inline constexpr std::size_t kUserExclusiveTemplateSize = 25;

struct RcpSong {
  // The file layout's differences that survive reading.
  struct Layout {
    // Application error thrown for a track that cannot be played through.
    std::int32_t damagedError = 0;
    // 6-byte records (G36): a track exclusive continues with five bytes a record instead of
    // two, and 0xE1 sets bank LSB and program.
    bool wideRecords = false;
  };

  Layout layout;
  // Texts as the file holds them, in CP932, cut at the first zero byte (the memo uncut).
  std::string title;
  std::string memo;
  std::string cm6Name;
  std::string gsdName;
  std::string gsd2Name;
  // The bytes of the control files found beside the song (control_files.h); empty when the
  // header names none or the file cannot be used.
  std::vector<std::uint8_t> cm6Data;
  std::vector<std::uint8_t> gsdData;
  std::vector<std::uint8_t> gsd2Data;
  std::uint32_t timeBase = 0;
  std::uint32_t tempo = 0;
  std::uint32_t beatNumerator = 0;
  std::uint32_t beatDenominator = 0;
  std::uint32_t key = 0;
  std::int32_t playBias = 0;
  // The track-count byte of the header as read.
  std::uint32_t headerTrackCount = 0;
  // RCP: 1 for a song of 36 tracks (R36), see CRCPFile::ReadTracks. Always 0 for G36 songs.
  bool is36Track = false;
  // How many of `tracks` the conversion plays.
  std::size_t trackCount = 0;
  std::vector<RcpTrack> tracks;
  // User exclusive templates 1 to 8 and how many bytes each may use.
  std::array<std::array<std::uint8_t, kUserExclusiveTemplateSize>, 8> userExclusives{};
  std::size_t userExclusiveSize = 0;
};

}  // namespace velvasto
