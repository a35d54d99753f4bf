#include "midiout/backends/recording_device.h"

#include <cerrno>
#include <cstdio>

#include "core/errors.h"
#include "midiout/event_line.h"

namespace velvasto {

RecordSink::RecordSink(std::ostream& out) : out_(&out) {}

RecordSink::RecordSink(const std::filesystem::path& file) : file_(std::make_unique<ReplacementFile>(file)) {}

bool RecordSink::WriteLine(std::string_view line) {
  std::lock_guard lock(mutex_);
  if (failure_ != 0) return true;
  errno = 0;
  bool written = false;
  if (file_) {
    std::FILE* stream = file_->Stream();
    written = std::fwrite(line.data(), 1, line.size(), stream) == line.size() && std::fputc('\n', stream) != EOF;
  } else {
    written = static_cast<bool>(*out_ << line << '\n');
  }
  if (!written) {
    failure_ = errno != 0 ? errno : EIO;
    return false;
  }
  written_ = true;
  return true;
}

int RecordSink::Failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

bool RecordSink::Written() const {
  std::lock_guard lock(mutex_);
  return written_;
}

void RecordSink::Commit() {
  std::lock_guard lock(mutex_);
  if (file_) {
    file_->Commit();
  } else if (!out_->flush()) {
    throw CSystemErrMessage(EIO);
  }
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
  if (!IsOpen() || !sink_->WriteLine(FormatShortLine(timeUs, port_, message))) {
    throw CMMSystemErrMessage(mmerr::kShortMsg);
  }
}

void RecordingDevice::SendLong(LongMessage& message, std::uint64_t timeUs) {
  if (!IsOpen() || !sink_->WriteLine(FormatSysExLine(timeUs, port_, message.data))) {
    throw CMMSystemErrMessage(mmerr::kLongMsg);
  }
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
