#include "midiout/backends/recording_device.h"

#include <cerrno>

#include "core/errors.h"
#include "midiout/event_line.h"

namespace velvasto {

RecordSink::RecordSink(std::ostream& out) : out_(out) {}

RecordSink::RecordSink(const std::filesystem::path& file) : file_(file, std::ios::out | std::ios::trunc), out_(file_) {
  if (!file_) throw CSystemErrMessage(errno != 0 ? errno : EIO);
}

void RecordSink::WriteLine(std::string_view line) {
  std::lock_guard lock(mutex_);
  out_ << line << '\n';
}

RecordingDevice::RecordingDevice(std::string name, PortId port, std::shared_ptr<RecordSink> sink)
    : name_(std::move(name)), port_(port), sink_(std::move(sink)) {}

// A sender may still hold a message it handed over; release it rather than leave it waiting.
RecordingDevice::~RecordingDevice() { CompleteLongMessages(); }

void RecordingDevice::Open() { open_.store(true, std::memory_order_release); }

void RecordingDevice::Close() {
  CompleteLongMessages();
  open_.store(false, std::memory_order_release);
}

void RecordingDevice::SendShort(std::uint32_t message, std::uint64_t timeUs) {
  if (!IsOpen()) throw CMMSystemErrMessage(mmerr::kShortMsg);
  sink_->WriteLine(FormatShortLine(timeUs, port_, message));
}

void RecordingDevice::SendLong(LongMessage& message, std::uint64_t timeUs) {
  if (!IsOpen()) throw CMMSystemErrMessage(mmerr::kLongMsg);
  sink_->WriteLine(FormatSysExLine(timeUs, port_, message.data));
  std::lock_guard lock(mutex_);
  if (hold_) {
    inFlight_.push_back(&message);
  } else {
    message.done.store(true, std::memory_order_release);
  }
}

void RecordingDevice::Reset() {
  CompleteLongMessages();
  std::lock_guard lock(mutex_);
  ++resetCount_;
}

void RecordingDevice::HoldLongMessages(bool hold) {
  std::lock_guard lock(mutex_);
  hold_ = hold;
}

void RecordingDevice::CompleteLongMessages() {
  std::lock_guard lock(mutex_);
  for (LongMessage* message : inFlight_) message->done.store(true, std::memory_order_release);
  inFlight_.clear();
}

int RecordingDevice::ResetCount() const {
  std::lock_guard lock(mutex_);
  return resetCount_;
}

}  // namespace velvasto
