#include "fake_devices.h"

#include "core/errors.h"

namespace velvasto::test {

FakeDevice::FakeDevice(std::string name, std::shared_ptr<FakeDeviceWorld> world)
    : name_(std::move(name)), world_(std::move(world)) {}

void FakeDevice::Open() {
  if (world_->failOpen.contains(name_)) throw CMMSystemErrMessage(mmerr::kOpen);
  world_->log.push_back("open " + name_);
  open_ = true;
}

void FakeDevice::Close() {
  if (world_->failClose.contains(name_)) throw CMMSystemErrMessage(mmerr::kClose);
  world_->log.push_back("close " + name_);
  open_ = false;
}

FakeCatalog::FakeCatalog(std::vector<std::optional<std::string>> devices) : devices_(std::move(devices)) {}

std::unique_ptr<MidiOutDevice> FakeCatalog::MakeDevice(const DeviceEntry& entry) {
  return std::make_unique<FakeDevice>(entry.name, world_);
}

std::unique_ptr<MidiOutDevice> FakeCatalog::MakeMapper() { return std::make_unique<FakeDevice>("mapper", world_); }

}  // namespace velvasto::test
