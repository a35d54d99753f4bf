#pragma once
// The program's own JACK client, shared by the JACK MIDI devices: opened when the first of them
// opens (a server is never started for it) and closed with the last. Each opened device has one
// output port of the client, connected to its destination; the client's process callback hands
// every port the messages due in the cycle, at their frames.

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midiout/backends/frame_schedule.h"
#include "midiout/midi_out_device.h"

namespace velvasto {

// The MIDI input ports of the running JACK server, by their full names ("client:port"); none
// when no server runs. Asks without starting a server and prints nothing.
std::vector<std::string> ListJackMidiInputs();

// Whether a JACK server runs, asked the same way.
bool JackServerRuns();

class JackOutputPort;

class JackClient final : public std::enable_shared_from_this<JackClient> {
 public:
  JackClient() = default;
  JackClient(const JackClient&) = delete;
  JackClient& operator=(const JackClient&) = delete;

  // An output port of the client connected to `destination`, a MIDI input port; the client is
  // opened first when no port is open. Throws CDeviceErrMessage(1003) naming what failed.
  std::unique_ptr<JackOutputPort> OpenPort(const std::string& destination);

 private:
  friend class JackOutputPort;
  static constexpr std::size_t kMaxPorts = 16;

  // Under mutex_.
  void Attach();
  void Detach();
  // Once this returns, the process callback no longer uses `port`.
  void RemovePort(JackOutputPort* port);
  // Waits until the process callback has run `cycles` more times; false when the server stopped
  // or a second passed first.
  bool WaitForCycles(std::uint64_t cycles);

  bool Gone() const { return gone_.load(std::memory_order_acquire); }
  // Why the server went, for messages.
  std::string GoneReason() const;

  static int Process(jack_nframes_t frames, void* self);
  static void ServerStopped(jack_status_t code, const char* reason, void* self);

  std::mutex mutex_;
  jack_client_t* client_ = nullptr;
  int attached_ = 0;
  std::uint32_t portsMade_ = 0;  // for port names of their own
  std::array<std::atomic<JackOutputPort*>, kMaxPorts> ports_{};
  std::atomic<std::uint64_t> cycles_{0};
  std::atomic<bool> gone_{false};
  mutable std::mutex reasonMutex_;
  std::string reason_;
};

// One output port of the client and the messages queued for it.
class JackOutputPort {
 public:
  ~JackOutputPort();
  JackOutputPort(const JackOutputPort&) = delete;
  JackOutputPort& operator=(const JackOutputPort&) = delete;

  // Queues a whole message for the frame of its record's time (`timeUs`), or, with no time, for
  // as soon as possible after everything queued. Throws CDeviceErrMessage(errorCode) when the
  // server has stopped, does not take messages any more, or the message is longer than a JACK
  // MIDI buffer holds.
  void Send(std::span<const std::uint8_t> bytes, std::optional<std::uint64_t> timeUs, std::int32_t errorCode);
  // Messages sent from now on are played at their record's place on the song's clock, or, with
  // none, as soon as possible (see FrameSchedule).
  void FollowSongClock(const std::optional<SongClock>& clock);

  // Waits (up to a second past the last message's frame) until every queued message has gone
  // to the server.
  void Drain();

 private:
  friend class JackClient;
  struct RingDeleter {
    void operator()(jack_ringbuffer_t* ring) const { jack_ringbuffer_free(ring); }
  };
  using Ring = std::unique_ptr<jack_ringbuffer_t, RingDeleter>;
  // What precedes each message's bytes in the ring.
  struct Header {
    std::uint32_t frame;
    std::uint32_t size;
  };

  JackOutputPort(std::shared_ptr<JackClient> client, jack_port_t* port, Ring ring);
  // On the process thread: writes the messages due in the cycle into the port's buffer.
  void Process(jack_nframes_t frames, jack_nframes_t cycleStart);

  std::shared_ptr<JackClient> client_;
  jack_port_t* port_;
  Ring ring_;
  std::size_t maxMessageBytes_;
  std::mutex sendMutex_;  // senders: the player's timer and its owner's thread
  FrameSchedule schedule_;
  std::uint32_t lastFrame_ = 0;
};

}  // namespace velvasto
