#include "cli/terminal/player_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace velvasto::cli {

PlayerInput::PlayerInput(const StopSignals& signals, int keyFd) : signals_(signals), keyFd_(keyFd) {}

PlayerEvents PlayerInput::Wait(std::chrono::milliseconds timeout) {
  PlayerEvents events;
  pollfd fds[3] = {{signals_.Fd(), POLLIN, 0}, {wake_.ReadFd(), POLLIN, 0}, {keyFd_, POLLIN, 0}};
  const nfds_t count = keyFd_ >= 0 ? 3 : 2;
  const int ready = ::poll(fds, count, static_cast<int>(timeout.count()));
  if (ready > 0) {
    if (fds[1].revents != 0) events.woken = wake_.Drain() >= 0;
    if (count == 3 && fds[2].revents != 0) ReadKeys(events.keys);
  }
  // The signal may have come in without waking this poll (before it began).
  events.stopSignal = signals_.Received();
  return events;
}

void PlayerInput::ReadKeys(std::vector<KeyCommand>& keys) {
  std::uint8_t buffer[64];
  ssize_t got;
  do {
    got = ::read(keyFd_, buffer, sizeof buffer);
  } while (got < 0 && errno == EINTR);
  if (got > 0) {
    decoder_.Feed({buffer, static_cast<std::size_t>(got)}, keys);
  } else if (got == 0 || errno != EAGAIN) {
    // End of input, or input that cannot be read: stop watching it rather than spin.
    keyFd_ = -1;
  }
}

}  // namespace velvasto::cli
