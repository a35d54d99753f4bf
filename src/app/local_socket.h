#pragma once
// Stream sockets in the local (AF_UNIX) domain with bounded, deadline-limited transfers. All
// sockets made here are non-blocking and closed on exec.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>

#include "app/unique_fd.h"

namespace velvasto {

using Deadline = std::chrono::steady_clock::time_point;

// A socket listening at `path` (a stale socket file there is removed first), or an invalid one
// when the path is too long for the address or the socket cannot be bound.
UniqueFd ListenLocal(const std::filesystem::path& path);
// A socket connected to `path`, or an invalid one when nobody listens there.
UniqueFd ConnectLocal(const std::filesystem::path& path);
// The next connection waiting on `listener`, or an invalid one.
UniqueFd AcceptLocal(int listener);
// True when the peer of `socket` runs as the same user as this process.
bool PeerIsSameUser(int socket);

// Reads exactly `buffer.size()` bytes. False when the peer closes first, an error occurs, the
// deadline passes, or `stopFd` (when not −1) becomes readable.
bool ReadExactly(int socket, std::span<std::uint8_t> buffer, Deadline deadline, int stopFd = -1);
// Writes all of `bytes`; false on error, when the peer has gone, or when the deadline passes.
bool WriteAll(int socket, std::span<const std::uint8_t> bytes, Deadline deadline);

}  // namespace velvasto
