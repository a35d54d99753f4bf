#include "app/local_socket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace velvasto {

namespace {

std::optional<sockaddr_un> AddressOf(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string& text = path.native();
  if (text.empty() || text.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return address;
}

UniqueFd NewSocket() { return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }

// Waits until `socket` is ready for `events`: true when it is, false on error, at the deadline,
// or when `stopFd` becomes readable.
bool WaitFor(int socket, short events, Deadline deadline, int stopFd) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fds[2] = {{socket, events, 0}, {stopFd, POLLIN, 0}};
    const int ready = ::poll(fds, stopFd >= 0 ? 2 : 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    if (stopFd >= 0 && fds[1].revents != 0) return false;
    if (fds[0].revents != 0) return true;  // readiness, hang-up or error: the next call tells
  }
}

}  // namespace

UniqueFd ListenLocal(const std::filesystem::path& path) {
  const auto address = AddressOf(path);
  if (!address) return {};
  UniqueFd socket = NewSocket();
  if (!socket.Valid()) return {};
  ::unlink(path.c_str());
  if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) return {};
  if (::listen(socket.Get(), 16) != 0) return {};
  return socket;
}

UniqueFd ConnectLocal(const std::filesystem::path& path) {
  const auto address = AddressOf(path);
  if (!address) return {};
  UniqueFd socket = NewSocket();
  if (!socket.Valid()) return {};
  if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) return {};
  return socket;
}

UniqueFd AcceptLocal(int listener) { return UniqueFd(::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)); }

bool PeerIsSameUser(int socket) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
  return credentials.uid == ::geteuid();
}

bool ReadExactly(int socket, std::span<std::uint8_t> buffer, Deadline deadline, int stopFd) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::recv(socket, buffer.data() + done, buffer.size() - done, 0);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got == 0) {
      return false;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!WaitFor(socket, POLLIN, deadline, stopFd)) return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

bool WriteAll(int socket, std::span<const std::uint8_t> bytes, Deadline deadline) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t sent = ::send(socket, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent >= 0) {
      done += static_cast<std::size_t>(sent);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!WaitFor(socket, POLLOUT, deadline, -1)) return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

}  // namespace velvasto
