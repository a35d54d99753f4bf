#include "midiout/backends/jack_midi_device.h"

#include "core/errors.h"
#include "midiout/backends/jack_client.h"
#include "midiout/backends/port_messages.h"

namespace velvasto {

JackMidiDevice::JackMidiDevice(std::string name, std::shared_ptr<JackClient> client)
    : name_(std::move(name)), client_(std::move(client)) {}

JackMidiDevice::~JackMidiDevice() = default;

void JackMidiDevice::Open() {
  if (!output_) output_ = client_->OpenPort(name_);
}

void JackMidiDevice::Close() { output_.reset(); }

void JackMidiDevice::SendShort(std::uint32_t message, std::uint64_t timeUs) {
  if (!output_) throw CMMSystemErrMessage(mmerr::kShortMsg);
  output_->Send(ShortMessageBytes(message).Bytes(), timeUs, mmerr::kShortMsg);
}

void JackMidiDevice::SendLong(LongMessage& message, std::uint64_t timeUs) {
  if (!output_) throw CMMSystemErrMessage(mmerr::kLongMsg);
  output_->Send(message.data, timeUs, mmerr::kLongMsg);
  message.done.store(true, std::memory_order_release);
}

void JackMidiDevice::SendToEveryChannel(std::initializer_list<std::uint8_t> controllers) {
  if (!output_) throw CMMSystemErrMessage(mmerr::kReset);
  ForEveryChannel(controllers, [this](std::span<const std::uint8_t> message) {
    output_->Send(message, std::nullopt, mmerr::kReset);
  });
}

void JackMidiDevice::FollowSongClock(const std::optional<SongClock>& clock) noexcept {
  if (output_) output_->FollowSongClock(clock);
}

// Sustain released, then All Notes Off.
void JackMidiDevice::Reset() { SendToEveryChannel({64, 123}); }

// Reset All Controllers.
void JackMidiDevice::ResetControllers() { SendToEveryChannel({121}); }

}  // namespace velvasto
