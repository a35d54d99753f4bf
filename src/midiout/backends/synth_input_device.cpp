#include "midiout/backends/synth_input_device.h"

#include "core/errors.h"

namespace velvasto {

SynthInputDevice::SynthInputDevice(std::string name, int firstChannel, std::shared_ptr<SynthTarget> target)
    : name_(std::move(name)), firstChannel_(firstChannel), target_(std::move(target)) {}

SynthInputDevice::~SynthInputDevice() {
  if (open_) target_->Detach();
}

void SynthInputDevice::Open() {
  if (open_) return;
  target_->Attach();
  open_ = true;
}

void SynthInputDevice::Close() {
  if (!open_) return;
  target_->Release(firstChannel_);
  target_->Detach();
  open_ = false;
}

void SynthInputDevice::SendShort(std::uint32_t message, std::uint64_t timeUs) {
  if (!open_) throw CMMSystemErrMessage(mmerr::kShortMsg);
  target_->Short(firstChannel_, message, timeUs);
}

void SynthInputDevice::SendLong(LongMessage& message, std::uint64_t timeUs) {
  if (!open_) throw CMMSystemErrMessage(mmerr::kLongMsg);
  target_->SysEx(firstChannel_, message.data, timeUs);
  message.done.store(true, std::memory_order_release);
}

void SynthInputDevice::Reset() {
  if (!open_) throw CMMSystemErrMessage(mmerr::kReset);
  target_->Release(firstChannel_);
}

void SynthInputDevice::ResetControllers() {
  if (!open_) throw CMMSystemErrMessage(mmerr::kReset);
  target_->ResetControllers(firstChannel_);
}

}  // namespace velvasto
