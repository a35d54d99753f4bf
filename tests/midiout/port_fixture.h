#pragma once
// The port model without hardware: a device list written by the test, devices that log their
// opens and closes and fail when told to, and a fresh settings file for each test.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/cini_file.h"
#include "core/errors.h"
#include "midiout/device_catalog.h"
#include "support/expect_error.h"
#include "support/temp_dir.h"

namespace velvasto::test {

// What the fake devices of one catalog share: the log of opens and closes, and which device
// names fail to open or to close.
struct FakeDeviceWorld {
  std::vector<std::string> log;
  std::set<std::string> failOpen;
  std::set<std::string> failClose;
};

struct FakeDevice final : MidiOutDevice {
  FakeDevice(std::string name, std::shared_ptr<FakeDeviceWorld> world) : name_(std::move(name)), world_(world) {}
  const std::string& Name() const override { return name_; }
  void Open() override {
    if (world_->failOpen.contains(name_)) throw CMMSystemErrMessage(mmerr::kOpen);
    world_->log.push_back("open " + name_);
    open_ = true;
  }
  void Close() override {
    if (world_->failClose.contains(name_)) throw CMMSystemErrMessage(mmerr::kClose);
    world_->log.push_back("close " + name_);
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  void SendShort(std::uint32_t, std::uint64_t) override {}
  void SendLong(LongMessage& message, std::uint64_t) override { message.done = true; }
  void Reset() override {}
  void ResetControllers() override {}

  std::string name_;
  std::shared_ptr<FakeDeviceWorld> world_;
  bool open_ = false;
};

// `devices`: one name per device number; nothing for a device that does not answer. The mapper's
// device is called "mapper".
class FakeCatalog final : public MidiDeviceCatalog {
 public:
  explicit FakeCatalog(std::vector<std::optional<std::string>> devices) : devices_(std::move(devices)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return devices_; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override {
    return std::make_unique<FakeDevice>(entry.name, world);
  }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return std::make_unique<FakeDevice>("mapper", world); }

  std::vector<std::optional<std::string>> devices_;
  std::shared_ptr<FakeDeviceWorld> world = std::make_shared<FakeDeviceWorld>();
};

// Three devices, and the settings pointed at a fresh file for the length of the test.
class PortTest : public ::testing::Test {
 protected:
  PortTest() { CINIFile::SetSettingsPath(dir_.Path() / "velvasto.ini"); }
  ~PortTest() override { CINIFile::SetSettingsPath({}); }

  static void Write(std::string_view key, std::string_view value) { ASSERT_TRUE(CINIFile().WriteString(key, value)); }
  static std::string Read(std::string_view key) { return CINIFile().ReadString(key, "<missing>"); }

  TempDir dir_;
  FakeCatalog catalog_{{"Synth A", "Synth B", "SC-88"}};
};

}  // namespace velvasto::test
