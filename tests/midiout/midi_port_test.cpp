#include "midiout/midi_port.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fake_devices.h"
#include "settings_fixture.h"

namespace velvasto {
namespace {

using test::FakeCatalog;

class MidiPortTest : public test::SettingsFileTest {
 protected:
  FakeCatalog catalog_{{"Synth A", "Synth B", "SC-88"}};
};

TEST_F(MidiPortTest, WithoutSettingsTheMapperIsTheOnlyPort) {
  CMIDIPort port;
  port.Load(catalog_);
  EXPECT_EQ(port.PortCount(), 1);
  EXPECT_EQ(port.PortA(), CMIDIPort::kMapper);
  EXPECT_EQ(port.PortB(), CMIDIPort::kNoPort);
  EXPECT_EQ(port.PortAName(), "MIDI_MAPPER");
  EXPECT_EQ(port.PortBName(), "NO_PORT");
}

TEST_F(MidiPortTest, DevicesThatDoNotAnswerAreLeftOutAndTheOthersKeepTheirNumbers) {
  FakeCatalog catalog({"Synth A", std::nullopt, "SC-88", std::nullopt, "MU-80"});
  Write("MIDI Port Num", "2");
  Write("MIDI Port A", "MU-80");
  Write("MIDI Port B", "SC-88");
  CMIDIPort port;
  port.Load(catalog);
  EXPECT_EQ(port.Devices(),
            (std::vector<DeviceEntry>{{0, "Synth A"}, {2, "SC-88"}, {4, "MU-80"}}));
  EXPECT_EQ(port.PortCount(), 2);
  EXPECT_EQ(port.PortA(), 2);
  EXPECT_EQ(port.PortB(), 1);
}

TEST_F(MidiPortTest, NoDeviceOrNoAnsweringDeviceIsError1001) {
  for (FakeCatalog catalog : {FakeCatalog({}), FakeCatalog({std::nullopt, std::nullopt})}) {
    CMIDIPort port;
    try {
      port.Load(catalog);
      FAIL() << "loaded without devices";
    } catch (const CMMSystemErrMessage& e) {
      EXPECT_EQ(e.Code(), 1001);
      EXPECT_EQ(e.Message(), "MIDIデバイス情報の取得に失敗しました。");
    }
  }
}

TEST_F(MidiPortTest, DevicesNoLongerPresentFallBackToMapperAndNone) {
  Write("MIDI Port Num", "2");
  Write("MIDI Port A", "Gone A");
  Write("MIDI Port B", "SC-88");
  CMIDIPort missingA;
  missingA.Load(catalog_);
  EXPECT_EQ(missingA.PortA(), CMIDIPort::kMapper);
  EXPECT_EQ(missingA.PortB(), 2);

  Write("MIDI Port A", "SC-88");
  Write("MIDI Port B", "Gone B");
  CMIDIPort missingB;
  missingB.Load(catalog_);
  EXPECT_EQ(missingB.PortCount(), 1);
  EXPECT_EQ(missingB.PortA(), 2);
  EXPECT_EQ(missingB.PortB(), CMIDIPort::kNoPort);
}

TEST_F(MidiPortTest, MapperOrTheSameDeviceTwiceMeansOnePort) {
  Write("MIDI Port Num", "2");
  Write("MIDI Port A", "MIDI_MAPPER");
  Write("MIDI Port B", "SC-88");
  CMIDIPort mapper;
  mapper.Load(catalog_);
  EXPECT_EQ(mapper.PortCount(), 1);
  EXPECT_EQ(mapper.PortA(), CMIDIPort::kMapper);
  EXPECT_EQ(mapper.PortB(), CMIDIPort::kNoPort);

  Write("MIDI Port A", "SC-88");
  CMIDIPort same;
  same.Load(catalog_);
  EXPECT_EQ(same.PortCount(), 1);
  EXPECT_EQ(same.PortA(), 2);
  EXPECT_EQ(same.PortB(), CMIDIPort::kNoPort);
}

TEST_F(MidiPortTest, OnePortIgnoresANamedPortBAndOddCountsMeanOnePort) {
  Write("MIDI Port A", "Synth A");
  Write("MIDI Port B", "SC-88");
  for (const char* count : {"1", "3", "0", "-2", "two"}) {
    Write("MIDI Port Num", count);
    CMIDIPort port;
    port.Load(catalog_);
    EXPECT_EQ(port.PortCount(), 1) << count;
    EXPECT_EQ(port.PortA(), 0) << count;
    EXPECT_EQ(port.PortB(), CMIDIPort::kNoPort) << count;
  }
}

TEST_F(MidiPortTest, SelectAcceptsOnlyValidChoicesForThePortCount) {
  CMIDIPort port;
  port.Load(catalog_);
  EXPECT_TRUE(port.Select(CMIDIPort::kMapper, CMIDIPort::kNoPort));
  EXPECT_TRUE(port.Select(2, CMIDIPort::kNoPort));
  EXPECT_FALSE(port.Select(1, 2));
  EXPECT_FALSE(port.Select(3, CMIDIPort::kNoPort));  // past the table
  EXPECT_EQ(port.PortA(), 2);

  ASSERT_TRUE(port.SetPortCount(2));
  EXPECT_FALSE(port.Select(1, 1));
  EXPECT_FALSE(port.Select(CMIDIPort::kMapper, 1));
  EXPECT_FALSE(port.Select(1, CMIDIPort::kNoPort));
  EXPECT_FALSE(port.Select(1, -2));
  EXPECT_TRUE(port.Select(2, 0));
  EXPECT_EQ(port.PortA(), 2);
  EXPECT_EQ(port.PortB(), 0);
}

TEST_F(MidiPortTest, SwitchingToTwoPortsPicksTwoDistinctDevices) {
  CMIDIPort port;
  port.Load(catalog_);
  ASSERT_TRUE(port.SetPortCount(2));  // from the mapper
  EXPECT_EQ(port.PortA(), 0);
  EXPECT_EQ(port.PortB(), 1);
  ASSERT_TRUE(port.SetPortCount(1));
  ASSERT_TRUE(port.Select(2, CMIDIPort::kNoPort));
  ASSERT_TRUE(port.SetPortCount(2));  // port A kept
  EXPECT_EQ(port.PortA(), 2);
  EXPECT_EQ(port.PortB(), 0);
  ASSERT_TRUE(port.SetPortCount(1));
  EXPECT_EQ(port.PortA(), CMIDIPort::kMapper);
  EXPECT_EQ(port.PortB(), CMIDIPort::kNoPort);

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
  EXPECT_EQ(Read("MIDI Port Num"), "2");
  EXPECT_EQ(Read("MIDI Port A"), "SC-88");
  EXPECT_EQ(Read("MIDI Port B"), "Synth B");

  FakeCatalog renumbered({"SC-88", "Synth A", "Synth B"});
  CMIDIPort reloaded;
  reloaded.Load(renumbered);
  EXPECT_EQ(reloaded.PortCount(), 2);
  EXPECT_EQ(reloaded.PortA(), 0);
  EXPECT_EQ(reloaded.PortB(), 2);

  ASSERT_TRUE(reloaded.SetPortCount(1));
  ASSERT_TRUE(reloaded.Save());
  EXPECT_EQ(Read("MIDI Port Num"), "1");
  EXPECT_EQ(Read("MIDI Port A"), "MIDI_MAPPER");
  EXPECT_EQ(Read("MIDI Port B"), "NO_PORT");
}

TEST_F(MidiPortTest, SaveReportsAFileThatCannotBeWritten) {
  dir_.Write("blocker", std::string_view("a file where a folder should be"));
  CINIFile::SetSettingsPath(dir_.Path() / "blocker" / "velvasto.ini");
  CMIDIPort port;
  port.Load(catalog_);
  EXPECT_FALSE(port.Save());
}

TEST_F(MidiPortTest, AssignmentCopiesTheChoiceAndTheTable) {
  CMIDIPort original;
  original.Load(catalog_);
  ASSERT_TRUE(original.SetPortCount(2));
  ASSERT_TRUE(original.Select(1, 2));
  CMIDIPort copy;
  copy = original;
  ASSERT_TRUE(original.SetPortCount(1));
  EXPECT_EQ(copy.PortCount(), 2);
  EXPECT_EQ(copy.PortAName(), "Synth B");
  EXPECT_EQ(copy.PortBName(), "SC-88");
}

}  // namespace
}  // namespace velvasto
