#pragma once
// A device list written by the test, and devices that log what happens to them and fail when
// told to, so the port model is tested without hardware.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "midiout/device_catalog.h"

namespace velvasto::test {

// What the fake devices of one catalog share: the log of opens and closes, and which device
// names fail to open or to close.
struct FakeDeviceWorld {
  std::vector<std::string> log;
  std::set<std::string> failOpen;
  std::set<std::string> failClose;
};

class FakeDevice final : public MidiOutDevice {
 public:
  FakeDevice(std::string name, std::shared_ptr<FakeDeviceWorld> world);
  const std::string& Name() const override { return name_; }
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  void SendShort(std::uint32_t, std::uint64_t) override {}
  void SendLong(LongMessage& message, std::uint64_t) override { message.done = true; }
  void Reset() override {}

 private:
  std::string name_;
  std::shared_ptr<FakeDeviceWorld> world_;
  bool open_ = false;
};

class FakeCatalog final : public MidiDeviceCatalog {
 public:
  // `devices`: one name per device number; nothing for a device that does not answer.
  explicit FakeCatalog(std::vector<std::optional<std::string>> devices);

  std::vector<std::optional<std::string>> ListDevices() override { return devices_; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override;
  // The mapper's device is called "mapper".
  std::unique_ptr<MidiOutDevice> MakeMapper() override;

  FakeDeviceWorld& World() { return *world_; }

 private:
  std::vector<std::optional<std::string>> devices_;
  std::shared_ptr<FakeDeviceWorld> world_ = std::make_shared<FakeDeviceWorld>();
};

}  // namespace velvasto::test
