// The output devices, choosing the ports among them from the settings, and opening them.

#include "midiout/midi_port.h"

#include <gtest/gtest.h>

#include "midiout/backends/rtmidi_device.h"
#include "midiout/device_error.h"
#include "midiout/device_registry.h"
#include "midiout/opened_ports.h"
#include "port_fixture.h"

namespace velvasto::test {
namespace {

// The command-line tests see the synthesizer's inputs listed first and its open failures; these
// are what they do not see.
TEST(DeviceRegistryTest, ListingAndAFailedOpenPrintNothing) {
  testing::internal::CaptureStderr();
  EXPECT_GE(DeviceRegistry(SynthConfig{}).ListDevices().size(), 2u);
  RtMidiDevice gone("No Such Port:Out");
  try {
    gone.Open();
    ADD_FAILURE() << "opened";
  } catch (const CDeviceErrMessage& e) {
    EXPECT_EQ(e.Code(), 1003);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(gone.IsOpen());
}

TEST(DeviceRegistryTest, PortsAreRememberedWithoutTheirSequencerNumbers) {
  EXPECT_EQ(RememberedPortName("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
  EXPECT_EQ(RememberedPortName("SC-88:SC-88 MIDI 1 24:0"), "SC-88:SC-88 MIDI 1");
  for (const char* kept : {"Port 2", "Port 1:2x", "Port :3", "Plain"}) EXPECT_EQ(RememberedPortName(kept), kept);
}

constexpr std::int32_t kMapper = CMIDIPort::kMapper;
constexpr std::int32_t kNoPort = CMIDIPort::kNoPort;

class MidiPortTest : public PortTest {
 protected:
  static void WriteChoice(const char* count, const char* portA, const char* portB) {
    Write("MIDI Port Num", count);
    Write("MIDI Port A", portA);
    Write("MIDI Port B", portB);
  }
  static std::string ReadChoice() { return Read("MIDI Port Num") + " " + Read("MIDI Port A") + " " + Read("MIDI Port B"); }
};
TEST_F(MidiPortTest, TheSettingsChooseDevicesByNameAndFallBackToOnePort) {
  // The settings (no count: none at all), then the port count and the devices chosen.
  const struct {
    const char *count, *portA, *portB;
    int expectedCount;
    std::int32_t expectedA, expectedB;
  } cases[] = {
      {nullptr, "", "", 1, kMapper, kNoPort},  // first run, but no synthesizer listed
      {"2", "SC-88", "Gone B", 1, 2, kNoPort},  // a device no longer present
      {"2", "MIDI_MAPPER", "SC-88", 1, kMapper, kNoPort},  // the mapper cannot share
      {"2", "SC-88", "SC-88", 1, 2, kNoPort},              // nor can one device
      {"1", "Synth A", "SC-88", 1, 0, kNoPort},  // any count but 2 is one port
  };
  for (const auto& c : cases) {
    if (c.count != nullptr) WriteChoice(c.count, c.portA, c.portB);
    CMIDIPort port;
    port.Load(catalog_);
    EXPECT_EQ(std::tuple(port.PortCount(), port.PortA(), port.PortB()),
              std::tuple(c.expectedCount, c.expectedA, c.expectedB))
        << (c.count ? c.count : "none") << " " << c.portA << " " << c.portB;
  }
}

// No "MIDI Port A" stored yet: both inputs of the built-in synthesizer, so that every track of a
// two-port song plays. A stored choice, even an empty or a one-port one, is read as it is.
TEST_F(MidiPortTest, AFirstRunChoosesBothSynthesizerInputsUntilAChoiceIsStored) {
  DeviceRegistry registry(SynthConfig{});
  const auto loaded = [&] {
    CMIDIPort port;
    port.Load(registry);
    return port;
  };
  Write("Volume Value", "100");
  CMIDIPort first = loaded();
  EXPECT_EQ(std::tuple(first.PortCount(), first.PortA(), first.PortB()), std::tuple(2, 0, 1));
  ASSERT_TRUE(first.Save());
  EXPECT_EQ(ReadChoice(), "2 Velvasto Synth A Velvasto Synth B");

  // Port B is "Velvasto Synth B" each time; the port count and port A chosen.
  const struct {
    const char *count, *portA;
    int expectedCount;
    std::int32_t expectedA;
  } stored[] = {{"2", "MIDI_MAPPER", 1, kMapper}, {"2", "", 2, kMapper}, {"1", "Velvasto Synth A", 1, 0}};
  for (const auto& c : stored) {
    WriteChoice(c.count, c.portA, "Velvasto Synth B");
    const CMIDIPort port = loaded();
    EXPECT_EQ(std::pair(port.PortCount(), port.PortA()), std::pair(c.expectedCount, c.expectedA))
        << c.count << " " << c.portA;
  }
}

TEST_F(MidiPortTest, DevicesThatDoNotAnswerAreLeftOutAndTheOthersKeepTheirNumbers) {
  FakeCatalog catalog({"Synth A", std::nullopt, "SC-88", std::nullopt, "MU-80"});
  CMIDIPort port;
  port.Load(catalog);
  EXPECT_EQ(port.Devices(), (std::vector<DeviceEntry>{{0, "Synth A"}, {2, "SC-88"}, {4, "MU-80"}}));
}

TEST_F(MidiPortTest, SwitchingToTwoPortsPicksTwoDistinctDevices) {
  CMIDIPort port;
  port.Load(catalog_);
  ASSERT_TRUE(port.SetPortCount(2));  // from the mapper
  EXPECT_EQ(std::pair(port.PortA(), port.PortB()), std::pair(0, 1));
  ASSERT_TRUE(port.SetPortCount(1));
  ASSERT_TRUE(port.Select(2, kNoPort));
  ASSERT_TRUE(port.SetPortCount(2));  // port A kept
  EXPECT_EQ(std::pair(port.PortA(), port.PortB()), std::pair(2, 0));

  FakeCatalog single({"Synth A"});
  CMIDIPort lonely;
  lonely.Load(single);
  EXPECT_FALSE(lonely.SetPortCount(2));
  EXPECT_EQ(lonely.PortCount(), 1);
}

TEST_F(MidiPortTest, SaveWritesNamesThatLoadFindsAgainUnderNewNumbers) {
  CMIDIPort port;
  port.Load(catalog_);
  ASSERT_TRUE(port.SetPortCount(2));
  ASSERT_TRUE(port.Select(2, 1));
  ASSERT_TRUE(port.Save());
  EXPECT_EQ(ReadChoice(), "2 SC-88 Synth B");

  FakeCatalog renumbered({"SC-88", "Synth A", "Synth B"});
  CMIDIPort reloaded;
  reloaded.Load(renumbered);
  EXPECT_EQ(std::tuple(reloaded.PortCount(), reloaded.PortA(), reloaded.PortB()), std::tuple(2, 0, 2));
  ASSERT_TRUE(reloaded.SetPortCount(1));
  ASSERT_TRUE(reloaded.Save());
  EXPECT_EQ(ReadChoice(), "1 MIDI_MAPPER NO_PORT");
}

using Log = std::vector<std::string>;

class OpenedPortsTest : public PortTest {
 protected:
  CMIDIPort Choice(int count, std::int32_t a, std::int32_t b) {
    CMIDIPort port;
    port.Load(catalog_);
    EXPECT_TRUE(port.SetPortCount(count) && port.Select(a, b));
    return port;
  }
};

TEST_F(OpenedPortsTest, OpensTheChosenDevicesAndClosesThemWhenDestroyed) {
  {
    OpenedPorts ports(Choice(2, 2, 0), catalog_);
  }
  OpenedPorts mapper(Choice(1, CMIDIPort::kMapper, CMIDIPort::kNoPort), catalog_);
  mapper.Close();
  EXPECT_EQ(mapper.Device(PortId::A), nullptr);
  EXPECT_EQ(catalog_.world->log,
            (Log{"open SC-88", "open Synth A", "close SC-88", "close Synth A", "open mapper", "close mapper"}));
}

// Port B that will not open closes port A again; port A that will not close then is error 1005.
// A failed Close is reported, and the destructor still closes the other device.
TEST_F(OpenedPortsTest, FailuresToOpenOrCloseStillCloseWhatWasOpened) {
  catalog_.world->failOpen.insert("Synth B");
  ExpectError<CMMSystemErrMessage>([&] { OpenedPorts ports(Choice(2, 0, 1), catalog_); }, 1003,
                                   "MIDIOUTデバイスのオープンができません。");
  catalog_.world->failClose.insert("Synth A");
  ExpectError<CMMSystemErrMessage>([&] { OpenedPorts ports(Choice(2, 0, 1), catalog_); }, 1005,
                                   "MIDIOUTデバイスのクローズができません。");
  {
    OpenedPorts ports(Choice(2, 0, 2), catalog_);
    EXPECT_THROW(ports.Close(), CMMSystemErrMessage);
  }
  EXPECT_EQ(catalog_.world->log,
            (Log{"open Synth A", "close Synth A", "open Synth A", "open Synth A", "open SC-88", "close SC-88"}));
}

}  // namespace
}  // namespace velvasto::test
