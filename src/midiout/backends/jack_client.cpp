#include "midiout/backends/jack_client.h"

#include <jack/midiport.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "core/errors.h"
#include "midiout/backends/diagnostics.h"
#include "midiout/device_error.h"

namespace velvasto {
namespace {

constexpr const char* kClientName = "Velvasto";
constexpr const char* kListingClientName = "Velvasto ports";
// Room in a port's queue: far more than the messages of the schedule's latency, and the
// longest System Exclusive message a JACK MIDI buffer takes.
constexpr std::size_t kQueueBytes = 1 << 18;
// What a JACK MIDI buffer keeps for its own bookkeeping beside one message.
constexpr std::size_t kMidiBufferOverhead = 64;
constexpr auto kCycleWait = std::chrono::seconds(1);

struct ClientCloser {
  void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using ClientHandle = std::unique_ptr<jack_client_t, ClientCloser>;

// A client of the running server, never starting one; null when none runs.
ClientHandle OpenClient(const char* name, jack_status_t* status = nullptr) {
  SilenceJackDiagnostics();
  jack_status_t ignored;
  return ClientHandle(jack_client_open(name, JackNoStartServer, status ? status : &ignored));
}

// The monotonic clock the player's song clock is told on, in microseconds.
std::uint64_t MonotonicNowUs() {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceOrigin).count());
}

}  // namespace

std::vector<std::string> ListJackMidiInputs() {
  const ClientHandle client = OpenClient(kListingClientName);
  std::vector<std::string> names;
  if (!client) return names;
  const char** ports = jack_get_ports(client.get(), nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
  for (const char** port = ports; port != nullptr && *port != nullptr; ++port) names.emplace_back(*port);
  jack_free(ports);
  return names;
}

bool JackServerRuns() { return OpenClient(kListingClientName) != nullptr; }

void JackClient::Attach() {
  if (attached_ > 0) {
    // Ports of a server that has stopped are still to be closed; a new one cannot join them.
    if (Gone()) throw CDeviceErrMessage(mmerr::kOpen, "the JACK server has stopped");
    ++attached_;
    return;
  }
  jack_status_t status;
  ClientHandle client = OpenClient(kClientName, &status);
  if (!client) {
    throw CDeviceErrMessage(mmerr::kOpen, (status & JackServerFailed) ? "no JACK server is running"
                                                                      : "the JACK server refused the client");
  }
  gone_.store(false, std::memory_order_release);
  // The process callback reads client_: it is set before the first cycle can run.
  client_ = client.get();
  jack_set_process_callback(client_, &JackClient::Process, this);
  jack_on_info_shutdown(client_, &JackClient::ServerStopped, this);
  if (jack_activate(client_) != 0) {
    client_ = nullptr;
    throw CDeviceErrMessage(mmerr::kOpen, "the JACK client cannot be activated");
  }
  (void)client.release();
  attached_ = 1;
}

void JackClient::Detach() {
  if (attached_ == 0 || --attached_ > 0) return;
  jack_client_close(client_);
  client_ = nullptr;
}

std::unique_ptr<JackOutputPort> JackClient::OpenPort(const std::string& destination) {
  std::lock_guard lock(mutex_);
  Attach();
  try {
    jack_port_t* target = jack_port_by_name(client_, destination.c_str());
    if (target == nullptr || (jack_port_flags(target) & JackPortIsInput) == 0 ||
        std::string_view(jack_port_type(target)) != JACK_DEFAULT_MIDI_TYPE) {
      throw CDeviceErrMessage(mmerr::kOpen, "JACK MIDI port \"" + destination + "\" is not present");
    }
    const auto slot = std::ranges::find_if(ports_, [](const auto& port) { return port.load() == nullptr; });
    if (slot == ports_.end()) throw CDeviceErrMessage(mmerr::kOpen, "too many JACK MIDI ports are open");
    JackOutputPort::Ring ring(jack_ringbuffer_create(kQueueBytes));
    if (!ring) throw CErrMessage(errc::kOutOfMemory);
    const std::string name = "out " + std::to_string(++portsMade_);
    jack_port_t* port = jack_port_register(client_, name.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (port == nullptr) throw CDeviceErrMessage(mmerr::kOpen, "the JACK client cannot make a port");
    const int connected = jack_connect(client_, jack_port_name(port), destination.c_str());
    if (connected != 0 && connected != EEXIST) {
      jack_port_unregister(client_, port);
      throw CDeviceErrMessage(mmerr::kOpen, "JACK MIDI port \"" + destination + "\" cannot be connected to");
    }
    std::unique_ptr<JackOutputPort> output(new JackOutputPort(shared_from_this(), port, std::move(ring)));
    slot->store(output.get(), std::memory_order_release);
    return output;
  } catch (...) {
    Detach();
    throw;
  }
}

void JackClient::RemovePort(JackOutputPort* port) {
  for (auto& slot : ports_) {
    if (slot.load(std::memory_order_relaxed) == port) slot.store(nullptr, std::memory_order_release);
  }
  // A cycle that took the port before it was removed ends before the next one starts.
  WaitForCycles(1);
}

bool JackClient::WaitForCycles(std::uint64_t cycles) {
  const std::uint64_t target = cycles_.load(std::memory_order_acquire) + cycles;
  const auto deadline = std::chrono::steady_clock::now() + kCycleWait;
  while (cycles_.load(std::memory_order_acquire) < target) {
    if (Gone() || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string JackClient::GoneReason() const {
  std::lock_guard lock(reasonMutex_);
  return reason_;
}

int JackClient::Process(jack_nframes_t frames, void* self) {
  auto* client = static_cast<JackClient*>(self);
  const jack_nframes_t cycleStart = jack_last_frame_time(client->client_);
  for (auto& slot : client->ports_) {
    if (JackOutputPort* port = slot.load(std::memory_order_acquire)) port->Process(frames, cycleStart);
  }
  client->cycles_.fetch_add(1, std::memory_order_release);
  return 0;
}

void JackClient::ServerStopped(jack_status_t, const char* reason, void* self) {
  auto* client = static_cast<JackClient*>(self);
  {
    std::lock_guard lock(client->reasonMutex_);
    client->reason_ = reason != nullptr ? reason : "";
  }
  client->gone_.store(true, std::memory_order_release);
}

JackOutputPort::JackOutputPort(std::shared_ptr<JackClient> client, jack_port_t* port, Ring ring)
    : client_(std::move(client)),
      port_(port),
      ring_(std::move(ring)),
      maxMessageBytes_(std::max(jack_port_type_get_buffer_size(client_->client_, JACK_DEFAULT_MIDI_TYPE),
                                kMidiBufferOverhead) -
                       kMidiBufferOverhead) {}

JackOutputPort::~JackOutputPort() {
  Drain();
  std::lock_guard lock(client_->mutex_);
  client_->RemovePort(this);
  if (!client_->Gone()) jack_port_unregister(client_->client_, port_);
  client_->Detach();
}

void JackOutputPort::Send(std::span<const std::uint8_t> bytes, std::optional<std::uint64_t> timeUs,
                          std::int32_t errorCode) {
  std::lock_guard lock(sendMutex_);
  if (client_->Gone()) {
    const std::string reason = client_->GoneReason();
    throw CDeviceErrMessage(errorCode, "the JACK server has stopped" + (reason.empty() ? "" : ": " + reason));
  }
  if (bytes.size() > maxMessageBytes_) {
    throw CDeviceErrMessage(errorCode, "a message of " + std::to_string(bytes.size()) +
                                           " bytes is longer than a JACK MIDI buffer holds");
  }
  jack_client_t* client = client_->client_;
  const FrameSchedule::Clock clock{MonotonicNowUs(), jack_frame_time(client), jack_get_buffer_size(client),
                                   jack_get_sample_rate(client)};
  const Header header{timeUs ? schedule_.Place(*timeUs, clock) : schedule_.PlaceNow(clock),
                      static_cast<std::uint32_t>(bytes.size())};
  if (jack_ringbuffer_write_space(ring_.get()) < sizeof header + bytes.size()) {
    throw CDeviceErrMessage(errorCode, "the JACK server does not take the messages: its cycle has stopped");
  }
  // The process callback takes a message only once all its bytes are there.
  jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(&header), sizeof header);
  jack_ringbuffer_write(ring_.get(), reinterpret_cast<const char*>(bytes.data()), bytes.size());
  lastFrame_ = header.frame;
}

void JackOutputPort::FollowSongClock(const std::optional<SongClock>& clock) {
  std::lock_guard lock(sendMutex_);
  if (clock) {
    schedule_.Follow(clock->songTimeUs, MonotonicNowUs() + static_cast<std::uint64_t>(clock->dueInUs));
  } else {
    schedule_.Leave();
  }
}

void JackOutputPort::Drain() {
  std::uint32_t lastFrame;
  {
    std::lock_guard lock(sendMutex_);
    lastFrame = lastFrame_;
  }
  const auto deadline = std::chrono::steady_clock::now() + kCycleWait;
  while (jack_ringbuffer_read_space(ring_.get()) > 0 && !client_->Gone()) {
    // A message is due within the schedule's latency; a second more is a server that stalls.
    const bool due = FrameDistance(lastFrame, jack_frame_time(client_->client_)) <= 0;
    if (due && std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The cycle that took the last message hands it on before the next one starts.
  client_->WaitForCycles(1);
}

void JackOutputPort::Process(jack_nframes_t frames, jack_nframes_t cycleStart) {
  void* buffer = jack_port_get_buffer(port_, frames);
  jack_midi_clear_buffer(buffer);
  jack_ringbuffer_t* ring = ring_.get();
  jack_nframes_t lastOffset = 0;
  bool written = false;
  Header header;
  while (jack_ringbuffer_peek(ring, reinterpret_cast<char*>(&header), sizeof header) == sizeof header &&
         jack_ringbuffer_read_space(ring) >= sizeof header + header.size) {
    const std::int32_t due = FrameDistance(header.frame, cycleStart);
    if (due >= static_cast<std::int32_t>(frames)) break;
    const jack_nframes_t offset = std::max(lastOffset, static_cast<jack_nframes_t>(std::max(due, 0)));
    jack_midi_data_t* place = jack_midi_event_reserve(buffer, offset, header.size);
    if (place == nullptr && written) break;  // the buffer is full: the rest in the next cycle
    jack_ringbuffer_read_advance(ring, sizeof header);
    if (place == nullptr) {
      // Longer than an empty buffer holds (the sender refuses such messages): it cannot go.
      jack_ringbuffer_read_advance(ring, header.size);
      continue;
    }
    jack_ringbuffer_read(ring, reinterpret_cast<char*>(place), header.size);
    lastOffset = offset;
    written = true;
  }
}

}  // namespace velvasto
