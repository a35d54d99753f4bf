#include "midiout/device_registry.h"

#include <gtest/gtest.h>

#include "midiout/backends/live_synth.h"
#include "midiout/backends/rtmidi_device.h"
#include "midiout/backends/synth_input_device.h"
#include "midiout/device_error.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

TEST(DeviceRegistryTest, TheSynthesizerComesFirstAndListingPrintsNothing) {
  DeviceRegistry registry(SynthConfig{});
  testing::internal::CaptureStderr();
  const auto devices = registry.ListDevices();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_GE(devices.size(), 2u);
  EXPECT_EQ(devices[0], "Velvasto Synth A");
  EXPECT_EQ(devices[1], "Velvasto Synth B");
  EXPECT_EQ(registry.MakeMapper()->Name(), "Velvasto Synth A");
  EXPECT_EQ(registry.MakeDevice({1, "Velvasto Synth B"})->Name(), "Velvasto Synth B");
  EXPECT_EQ(registry.MakeDevice({5, "Some Port"})->Name(), "Some Port");
}

TEST(DeviceRegistryTest, APortThatIsNotPresentFailsToOpenWith1003) {
  RtMidiDevice gone("No Such Port:Out");
  testing::internal::CaptureStderr();
  try {
    gone.Open();
    ADD_FAILURE() << "opened";
  } catch (const CDeviceErrMessage& e) {
    EXPECT_EQ(e.Code(), 1003);
    EXPECT_FALSE(e.Detail().empty());
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(gone.IsOpen());
}

TEST(DeviceRegistryTest, PortsAreRememberedWithoutTheirSequencerNumbers) {
  EXPECT_EQ(RememberedPortName("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
  EXPECT_EQ(RememberedPortName("SC-88:SC-88 MIDI 1 24:0"), "SC-88:SC-88 MIDI 1");
  EXPECT_EQ(RememberedPortName("Port 2"), "Port 2");
  EXPECT_EQ(RememberedPortName("Port 1:2x"), "Port 1:2x");
  EXPECT_EQ(RememberedPortName("Port :3"), "Port :3");
  EXPECT_EQ(RememberedPortName("Plain"), "Plain");
}

TEST(DeviceRegistryTest, TheLiveSynthesizerFailsQuietlyWithItsReason) {
  test::TempDir dir;
  const struct {
    SynthConfig config;
    const char* reason;
  } cases[] = {
      {{dir.Path() / "missing.sf2", ""}, "cannot be read"},
      {{"/usr/share/sounds/sf2/TimGM6mb.sf2", "no-such-audio-driver"}, "no audio output could be started"},
  };
  for (const auto& c : cases) {
    auto synth = std::make_shared<LiveSynth>(c.config);
    SynthInputDevice input("Velvasto Synth A", 0, synth);
    testing::internal::CaptureStderr();
    try {
      input.Open();
      ADD_FAILURE() << "opened";
    } catch (const CDeviceErrMessage& e) {
      EXPECT_EQ(e.Code(), 1003);
      EXPECT_NE(e.Detail().find(c.reason), std::string::npos) << e.Detail();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(input.IsOpen());
    EXPECT_THROW(input.SendShort(0x643C90, 0), CMMSystemErrMessage);
  }
}

}  // namespace
}  // namespace velvasto
