#pragma once
// The track settings file of a Standard MIDI File: a text file beside the song, with the song's
// name and the extension ".mtk", that moves tracks between the two ports and silences tracks.
//
//   # comment: a "#" ends the useful part of any line
//   TRACK1 PORT:B          the first track chunk goes to port B
//   TRACK 2 PORT: A CH:OFF the second goes to port A and is silenced
//
// Rules:
// - A directive line's first token is "TRACK" followed by the track number, 1 for the first
//   track chunk of the file, written either in the same token ("TRACK3") or as the next token
//   ("TRACK 3"); a ":" directly after the number is allowed. Other lines are ignored, as are
//   directives for tracks the song does not have.
// - Tokens are separated by blanks or tabs and compared without regard to case. A directive's
//   value follows the ":" in the same token or, when nothing follows it, is the next token.
// - "PORT:" with "A" puts the track on port A, with any other letter on port B. The file's
//   choice is final: the song's own port meta events (0x21) in that track are then ignored.
//   A track without a PORT directive starts on port A and follows its port meta events.
// - "CH:OFF" silences the track: its channel messages are not sent. Its System Exclusive
//   messages are still sent and its meta events (tempo, port, end of track) still act, so that
//   silencing a track never changes the song's timing or the other tracks.
// - Later directives for a track override earlier ones. At most 256 characters of a line and
//   at most 100 directive lines are read, and no more than the file's first MiB.

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

#include "song/smf_chunks.h"
#include "song/stream_event.h"

namespace velvasto {

struct TrackSetting {
  std::optional<PortId> port;  // set by a PORT directive
  bool silenced = false;       // CH:OFF
};

using TrackSettings = std::array<TrackSetting, kSmfMaxTracks>;

// The settings of one line (tracks numbered from 1) applied to `settings`; returns whether the
// line is a directive line.
bool ApplyTrackSettingsLine(std::string_view line, TrackSettings& settings);

// Reads the ".mtk" file beside `songPath`; a missing or unreadable file, or anything other than
// a regular file, gives no settings.
TrackSettings ReadTrackSettingsFile(const std::filesystem::path& songPath);

}  // namespace velvasto
