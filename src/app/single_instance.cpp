#include "app/single_instance.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "app/handover_message.h"
#include "app/local_socket.h"
#include "core/errors.h"

namespace velvasto {

namespace {

UniqueFd OpenLockFile(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.Valid()) throw CErrMessage(errc::kMutexCreateFailed);
  return fd;
}

void LockWaiting(int fd) {
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) throw CErrMessage(errc::kLockFailed);
  }
}

Deadline After(std::chrono::milliseconds span) { return std::chrono::steady_clock::now() + span; }

}  // namespace

CSingleInstance::CSingleInstance(const std::filesystem::path& runtimeFolder, HandOverTimeouts timeouts)
    : startupLockPath_(runtimeFolder / "velvasto.startup.lock"),
      socketPath_(runtimeFolder / "velvasto.sock"),
      timeouts_(timeouts) {
  const UniqueFd startupLock = OpenLockFile(startupLockPath_);
  LockWaiting(startupLock.Get());
  UniqueFd instanceLock = OpenLockFile(runtimeFolder / "velvasto.lock");
  if (::flock(instanceLock.Get(), LOCK_EX | LOCK_NB) == 0) {
    instanceLock_ = std::move(instanceLock);
    socket_ = ListenLocal(socketPath_);
  } else {
    socket_ = ConnectLocal(socketPath_);
  }
  // Closing the start-up lock's descriptor releases it.
}

CSingleInstance::~CSingleInstance() {
  if (!IsPrimary()) return;
  try {
    const UniqueFd startupLock = OpenLockFile(startupLockPath_);
    LockWaiting(startupLock.Get());
    StopListening();
    if (socket_.Valid()) ::unlink(socketPath_.c_str());
    // Both go while the start-up lock is held, so a start now waiting for it finds either a
    // running instance or a free lock.
    socket_.Reset();
    instanceLock_.Reset();
  } catch (const CErrMessage&) {
    // Without the start-up lock the listener still has to stop; the socket file stays and is
    // replaced by the next instance that takes the lock.
    StopListening();
  }
}

void CSingleInstance::StopListening() {
  if (!listener_.joinable()) return;
  listener_.request_stop();
  stop_->Notify(1);
  listener_.join();
}

void CSingleInstance::Listen(RequestHandler onRequest) {
  if (!IsPrimary() || !socket_.Valid() || listener_.joinable()) return;
  try {
    stop_.emplace();
  } catch (const CSystemErrMessage&) {
    return;  // without a way to stop it, no listener is started
  }
  onRequest_ = std::move(onRequest);
  listener_ = std::jthread([this](const std::stop_token& stop) { ListenLoop(stop); });
}

void CSingleInstance::ListenLoop(const std::stop_token& stop) {
  while (!stop.stop_requested()) {
    pollfd fds[2] = {{socket_.Get(), POLLIN, 0}, {stop_->ReadFd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    const UniqueFd connection = AcceptLocal(socket_.Get());
    if (connection.Valid()) TakeOneRequest(connection.Get());
  }
}

void CSingleInstance::TakeOneRequest(int connection) {
  if (!PeerIsSameUser(connection)) return;
  const Deadline deadline = After(timeouts_.peer);
  std::array<std::uint8_t, handover::kHeaderBytes> header{};
  if (!ReadExactly(connection, header, deadline, stop_->ReadFd())) return;
  const auto bodyLength = handover::DecodeHeader(header);
  if (!bodyLength) return;
  std::vector<std::uint8_t> body(*bodyLength);
  if (!ReadExactly(connection, body, deadline, stop_->ReadFd())) return;
  auto request = handover::DecodeBody(body);
  if (!request) return;
  try {
    onRequest_(std::move(*request));
  } catch (...) {
    // The handler's failure is its own; the instance keeps listening.
  }
  const std::uint8_t acknowledge = handover::kAcknowledge;
  WriteAll(connection, std::span(&acknowledge, 1), After(timeouts_.peer));
}

bool CSingleInstance::HandOver(const OpenRequest& request) {
  if (IsPrimary() || !socket_.Valid()) return false;
  const std::string message = handover::EncodeOpenRequest(request);
  const Deadline deadline = After(timeouts_.reply);
  if (!WriteAll(socket_.Get(), std::span(reinterpret_cast<const std::uint8_t*>(message.data()), message.size()),
                deadline)) {
    return false;
  }
  std::uint8_t answer = 0;
  const bool answered = ReadExactly(socket_.Get(), std::span(&answer, 1), deadline);
  socket_.Reset();
  return answered && answer == handover::kAcknowledge;
}

}  // namespace velvasto
