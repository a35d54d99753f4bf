#include "fake_output.h"

#include "core/errors.h"

namespace velvasto::test {

void FakeOutput::SendShort(std::uint32_t message, std::uint64_t timeUs) {
  std::lock_guard lock(mutex_);
  if (failShortFrom && shortCount_ >= *failShortFrom) throw CMMSystemErrMessage(mmerr::kShortMsg);
  ++shortCount_;
  log_.push_back({Sent::Kind::Short, message, {}, timeUs, clock_.NowUs()});
}

void FakeOutput::SendLong(LongMessage& message, std::uint64_t timeUs) {
  std::lock_guard lock(mutex_);
  if (failLong) throw CMMSystemErrMessage(mmerr::kLongMsg);
  log_.push_back({Sent::Kind::Long, 0, {message.data.begin(), message.data.end()}, timeUs, clock_.NowUs()});
  if (holdLongMessages) {
    held_ = &message;
  } else {
    message.done.store(true, std::memory_order_release);
  }
}

void FakeOutput::Reset() {
  std::lock_guard lock(mutex_);
  if (failReset) throw CMMSystemErrMessage(mmerr::kReset);
  log_.push_back({Sent::Kind::Reset, 0, {}, 0, clock_.NowUs()});
  if (held_ != nullptr) held_->done.store(true, std::memory_order_release);
  held_ = nullptr;
}

void FakeOutput::FinishHeld() {
  std::lock_guard lock(mutex_);
  if (held_ != nullptr) held_->done.store(true, std::memory_order_release);
  held_ = nullptr;
}

std::vector<Sent> FakeOutput::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<std::uint32_t> FakeOutput::Shorts(std::size_t from) const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint32_t> shorts;
  for (std::size_t i = from; i < log_.size(); ++i) {
    if (log_[i].kind == Sent::Kind::Short) shorts.push_back(log_[i].message);
  }
  return shorts;
}

std::size_t FakeOutput::LogSize() const {
  std::lock_guard lock(mutex_);
  return log_.size();
}

void FakeOutput::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

}  // namespace velvasto::test
