#include "midiout/opened_ports.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fake_devices.h"
#include "settings_fixture.h"

namespace velvasto {
namespace {

using test::FakeCatalog;
using Log = std::vector<std::string>;

class OpenedPortsTest : public test::SettingsFileTest {
 protected:
  CMIDIPort Choice(int count, std::int32_t a, std::int32_t b) {
    CMIDIPort port;
    port.Load(catalog_);
    EXPECT_TRUE(port.SetPortCount(count));
    EXPECT_TRUE(port.Select(a, b));
    return port;
  }

  FakeCatalog catalog_{{"Synth A", "Synth B", "SC-88"}};
};

TEST_F(OpenedPortsTest, OpensTheChosenDevicesAndClosesThemWhenDestroyed) {
  {
    OpenedPorts ports(Choice(2, 2, 0), catalog_);
    EXPECT_EQ(ports.PortCount(), 2);
    EXPECT_EQ(ports.Device(PortId::A)->Name(), "SC-88");
    EXPECT_EQ(ports.Device(PortId::B)->Name(), "Synth A");
    EXPECT_EQ(ports.Device(PortId::None), nullptr);
  }
  EXPECT_EQ(catalog_.World().log, (Log{"open SC-88", "open Synth A", "close SC-88", "close Synth A"}));
}

TEST_F(OpenedPortsTest, OnePortOpensTheMapperForMinusOneAndNoPortB) {
  OpenedPorts ports(Choice(1, CMIDIPort::kMapper, CMIDIPort::kNoPort), catalog_);
  EXPECT_EQ(ports.PortCount(), 1);
  EXPECT_EQ(ports.Device(PortId::A)->Name(), "mapper");
  EXPECT_EQ(ports.Device(PortId::B), nullptr);
  ports.Close();
  EXPECT_EQ(ports.Device(PortId::A), nullptr);
  EXPECT_EQ(catalog_.World().log, (Log{"open mapper", "close mapper"}));
}

TEST_F(OpenedPortsTest, APortBThatFailsClosesPortAAgain) {
  catalog_.World().failOpen.insert("Synth B");
  try {
    OpenedPorts ports(Choice(2, 0, 1), catalog_);
    FAIL() << "opened";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), 1003);
    EXPECT_EQ(e.Message(), "MIDIOUTデバイスのオープンができません。");
  }
  EXPECT_EQ(catalog_.World().log, (Log{"open Synth A", "close Synth A"}));
}

TEST_F(OpenedPortsTest, APortAThatWillNotCloseAfterPortBFailedIsError1005) {
  catalog_.World().failOpen.insert("Synth B");
  catalog_.World().failClose.insert("Synth A");
  try {
    OpenedPorts ports(Choice(2, 0, 1), catalog_);
    FAIL() << "opened";
  } catch (const CMMSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), 1005);
    EXPECT_EQ(e.Message(), "MIDIOUTデバイスのクローズができません。");
  }
}

TEST_F(OpenedPortsTest, CloseReportsAFailingDeviceAndTheDestructorStillClosesTheOther) {
  catalog_.World().failClose.insert("Synth A");
  {
    OpenedPorts ports(Choice(2, 0, 2), catalog_);
    EXPECT_THROW(ports.Close(), CMMSystemErrMessage);
  }
  EXPECT_EQ(catalog_.World().log, (Log{"open Synth A", "open SC-88", "close SC-88"}));
}

}  // namespace
}  // namespace velvasto
