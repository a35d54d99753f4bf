#pragma once
// The chunk layout of a Standard MIDI File held in memory: the header's values and where each
// track chunk's data lies. Nothing is copied; the spans point into the caller's bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velvasto {

struct SmfLayout {
  std::uint32_t format = 0;
  std::uint32_t division = 0;  // ticks per quarter note
  std::vector<std::span<const std::uint8_t>> tracks;
};

// At most this many tracks are accepted.
inline constexpr std::size_t kSmfMaxTracks = 100;

// Reads the header chunk at `headerOffset` (where "MThd" stands) and the track chunks after it.
// Throws CErrMessage: 2 for a truncated header or track chunk or a missing "MTrk", 3 for a
// format other than 0 and 1, 4 for more than 100 tracks, 5 for an SMPTE or zero division.
// Every length is checked against the bytes present before it is used.
SmfLayout ParseSmfChunks(std::span<const std::uint8_t> image, std::size_t headerOffset);

}  // namespace velvasto
