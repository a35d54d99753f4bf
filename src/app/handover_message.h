#pragma once
// The open request as a second instance hands it to the running one over the local socket.
//
// Wire format, version 1; every integer is little-endian.
//
//   Header, 12 bytes:
//     offset 0   4 bytes  magic "VLVO"
//     offset 4   u32      version, 1
//     offset 8   u32      body length in bytes, at most kMaxBodyBytes
//   Body:
//     offset 0   i32      play mode            (−1 not given, 0 no repeat, 1 repeat, 2 random)
//     offset 4   i32      single repeat        (−1 not given, 1 on)
//     offset 8   i32      drag-and-drop mode   (−1 not given, 0 new list, 1 append)
//     offset 12  i32      path count           (0..1024)
//     offset 16  count × { u32 length in bytes (1..kMaxPathBytes), the path's bytes, no zero byte }
//   Reply: one byte, kAcknowledge, once the receiver has taken the request.
//
// Every request also asks the running instance to come to the front; one without paths asks
// nothing else.
//
// A receiver reads the header, then exactly the body length, and never more than
// kMaxBodyBytes. It clamps the count to 0..1024 and reads only that many paths; bytes after them
// are ignored. A mode outside its range reads as "not given". A body too short for its paths, a
// path of length 0 or over kMaxPathBytes, or a path holding a zero byte makes the request
// malformed, and it is dropped whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/open_request.h"

namespace velvasto::handover {

inline constexpr std::size_t kHeaderBytes = 12;
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kMaxPathBytes = 4096;
inline constexpr std::size_t kMaxBodyBytes = 16 + OpenRequest::kMaxPaths * (4 + kMaxPathBytes);
inline constexpr std::uint8_t kAcknowledge = 0x06;

// Header and body for `request`. Paths that the format cannot carry (empty, longer than
// kMaxPathBytes, holding a zero byte) and paths beyond the 1024th are left out.
std::string EncodeOpenRequest(const OpenRequest& request);

// The body length a header announces, or nothing for another magic or version or a body over
// kMaxBodyBytes.
std::optional<std::size_t> DecodeHeader(std::span<const std::uint8_t, kHeaderBytes> header);

// The request a body holds, or nothing when it is malformed.
std::optional<OpenRequest> DecodeBody(std::span<const std::uint8_t> body);

}  // namespace velvasto::handover
