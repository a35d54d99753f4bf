#pragma once
// The one-line text form of what goes to an output, shared by the recording device and the
// command line's `dump`:
//   <time_us> <port> MSG <hex bytes>     a channel or system message
//   <time_us> <port> SYX <hex bytes>     a System Exclusive message, F0 .. F7
//   <time_us> <port> TEMPO <bpm>         a tempo record of the table
//   <time_us> <port> MARK <subtype>      a control-block marker of the table
//   <time_us> <port> END                 the end record of the table
// Port is A, B, or - for a record that goes to no port. Hex bytes are two upper-case digits
// separated by one blank. Example: "1041667 A MSG 90 3C 64".

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "song/stream_event.h"

namespace velvasto {

class CMIDIStream;

// Bytes a short message occupies on the wire, status byte included: 2 for Cn/Dn and F1/F3,
// 3 for the other channel messages and F2, 1 for every other system message.
std::size_t ShortMessageLength(std::uint8_t status);

char PortLetter(PortId port);

// `message` packs status | data1 << 8 | data2 << 16.
std::string FormatShortLine(std::uint64_t timeUs, PortId port, std::uint32_t message);
std::string FormatSysExLine(std::uint64_t timeUs, PortId port, std::span<const std::uint8_t> bytes);
// Any record of `stream`'s table; SysEx bytes are taken from the stream.
std::string FormatEventLine(const StreamEvent& event, const CMIDIStream& stream);

}  // namespace velvasto
