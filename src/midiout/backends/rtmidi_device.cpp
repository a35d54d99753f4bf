#include "midiout/backends/rtmidi_device.h"

#include <RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "core/errors.h"
#include "midiout/backends/diagnostics.h"
#include "midiout/backends/port_messages.h"
#include "midiout/device_error.h"

namespace velvasto {
namespace {

constexpr const char* kClientName = "Velvasto";
constexpr const char* kSequencerDevice = "/dev/snd/seq";

// RtMidi prints to stderr and throws when no callback takes its errors; ours records them.
void RecordFailure(RtMidiError::Type type, const std::string& text, void* data) {
  if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
  auto* failure = static_cast<RtMidiDevice::Failure*>(data);
  failure->failed = true;
  failure->text = text;
}

// Opening an ALSA client without a sequencer makes ALSA and RtMidi print before RtMidi throws;
// ask the system first.
bool SequencerPresent() { return access(kSequencerDevice, R_OK | W_OK) == 0; }

std::unique_ptr<RtMidiOut> MakeClient(RtMidiDevice::Failure& failure) {
  SilenceAlsaDiagnostics();
  if (!SequencerPresent()) return nullptr;
  try {
    auto out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
    out->setErrorCallback(RecordFailure, &failure);
    return out;
  } catch (const RtMidiError& e) {
    failure = {true, e.getMessage()};
    return nullptr;
  }
}

}  // namespace

std::string RememberedPortName(std::string_view rtMidiName) {
  // "<client>:<port> <client number>:<port number>"
  const std::size_t blank = rtMidiName.rfind(' ');
  if (blank == std::string_view::npos) return std::string(rtMidiName);
  const std::string_view numbers = rtMidiName.substr(blank + 1);
  const std::size_t colon = numbers.find(':');
  const auto allDigits = [](std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
  };
  if (colon == std::string_view::npos || !allDigits(numbers.substr(0, colon)) || !allDigits(numbers.substr(colon + 1))) {
    return std::string(rtMidiName);
  }
  return std::string(rtMidiName.substr(0, blank));
}

std::vector<std::optional<std::string>> ListMidiPorts() {
  RtMidiDevice::Failure failure;
  const std::unique_ptr<RtMidiOut> client = MakeClient(failure);
  std::vector<std::optional<std::string>> ports;
  if (!client) return ports;
  const unsigned count = client->getPortCount();
  for (unsigned i = 0; i < count; ++i) {
    failure = {};
    const std::string name = client->getPortName(i);
    if (failure.failed || name.empty()) {
      ports.emplace_back();
    } else {
      ports.emplace_back(RememberedPortName(name));
    }
  }
  return ports;
}

RtMidiDevice::RtMidiDevice(std::string name) : name_(std::move(name)) {}

RtMidiDevice::~RtMidiDevice() = default;

void RtMidiDevice::Open() {
  if (out_) return;
  failure_ = {};
  std::unique_ptr<RtMidiOut> client = MakeClient(failure_);
  if (!client) {
    throw CDeviceErrMessage(mmerr::kOpen, failure_.failed ? failure_.text : "no MIDI sequencer on this machine");
  }
  const unsigned count = client->getPortCount();
  for (unsigned i = 0; i < count; ++i) {
    if (RememberedPortName(client->getPortName(i)) != name_) continue;
    failure_ = {};
    client->openPort(i, "out");
    if (failure_.failed || !client->isPortOpen()) {
      throw CDeviceErrMessage(mmerr::kOpen, "MIDI port \"" + name_ + "\" cannot be opened: " + failure_.text);
    }
    out_ = std::move(client);
    return;
  }
  throw CDeviceErrMessage(mmerr::kOpen, "MIDI port \"" + name_ + "\" is not present");
}

void RtMidiDevice::Close() {
  if (!out_) return;
  out_->closePort();
  out_.reset();
}

void RtMidiDevice::Send(std::span<const std::uint8_t> bytes, std::int32_t errorCode) {
  if (!out_) throw CMMSystemErrMessage(errorCode);
  failure_ = {};
  out_->sendMessage(bytes.data(), bytes.size());
  if (failure_.failed) throw CDeviceErrMessage(errorCode, failure_.text);
}

void RtMidiDevice::SendShort(std::uint32_t message, std::uint64_t) {
  Send(ShortMessageBytes(message).Bytes(), mmerr::kShortMsg);
}

void RtMidiDevice::SendLong(LongMessage& message, std::uint64_t) {
  Send(message.data, mmerr::kLongMsg);
  message.done.store(true, std::memory_order_release);
}

void RtMidiDevice::SendToEveryChannel(std::initializer_list<std::uint8_t> controllers) {
  if (!out_) throw CMMSystemErrMessage(mmerr::kReset);
  ForEveryChannel(controllers, [this](std::span<const std::uint8_t> message) { Send(message, mmerr::kReset); });
}

void RtMidiDevice::Reset() { SendToEveryChannel({64, 123}); }

void RtMidiDevice::ResetControllers() { SendToEveryChannel({121}); }

}  // namespace velvasto
