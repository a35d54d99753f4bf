#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/output/output_plan.h"
#include "cli/output/planned_devices.h"
#include "cli/output/port_list.h"
#include "cli/usage_problem.h"
#include "core/cini_file.h"
#include "midiout/backends/recording_device.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto::cli {
namespace {

// Devices that open and close and do nothing else; the catalogue lists the names it is given
// and calls its mapper "Synth A", the first of them, as the real registry does.
class QuietDevice final : public MidiOutDevice {
 public:
  explicit QuietDevice(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const override { return name_; }
  void Open() override { open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void SendShort(std::uint32_t, std::uint64_t) override {}
  void SendLong(LongMessage& message, std::uint64_t) override { message.done = true; }
  void Reset() override {}

 private:
  std::string name_;
  bool open_ = false;
};

class ListedCatalog final : public MidiDeviceCatalog {
 public:
  explicit ListedCatalog(std::vector<std::optional<std::string>> names) : names_(std::move(names)) {}
  std::vector<std::optional<std::string>> ListDevices() override { return names_; }
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override {
    return std::make_unique<QuietDevice>(entry.name);
  }
  std::unique_ptr<MidiOutDevice> MakeMapper() override { return std::make_unique<QuietDevice>("Synth A"); }

 private:
  std::vector<std::optional<std::string>> names_;
};

class OutputPlanTest : public ::testing::Test {
 protected:
  OutputPlanTest() { CINIFile::SetSettingsPath(dir.Path() / "velvasto.ini"); }
  ~OutputPlanTest() override { CINIFile::SetSettingsPath({}); }

  // The settings' port choice after writing `count`, `a` and `b` (empty: key left out).
  CMIDIPort Choice(int count = 1, const std::string& a = "", const std::string& b = "") {
    if (count != 1) CINIFile().WriteInt("MIDI Port Num", count);
    if (!a.empty()) CINIFile().WriteString("MIDI Port A", a);
    if (!b.empty()) CINIFile().WriteString("MIDI Port B", b);
    CMIDIPort choice;
    choice.Load(catalog);
    return choice;
  }

  static OutputRequest Request(std::initializer_list<std::string_view> values) {
    OutputRequest request;
    for (const std::string_view value : values) AddOutOption(value, request);
    return request;
  }

  static std::string UsageText(const std::function<void()>& action) {
    try {
      action();
    } catch (const UsageProblem& problem) {
      return problem.what();
    }
    return "<no usage problem>";
  }

  test::TempDir dir;
  ListedCatalog catalog{{"Synth A", "Synth B", std::nullopt, "SC-88"}};
};

TEST_F(OutputPlanTest, MalformedOrRepeatedOutOptionsAreUsageProblems) {
  const std::string malformed =
      "--out takes PORT=NAME with PORT A or B, as in --out A=\"Velvasto Synth A\" or --out B=record:FILE";
  for (const std::string_view value : {"", "A", "A=", "C=SC-88", "AB=SC-88", "SC-88"}) {
    EXPECT_EQ(UsageText([&] { Request({value}); }), malformed) << value;
  }
  EXPECT_EQ(UsageText([] { Request({"A=SC-88", "a=Synth B"}); }), "--out names PORT A twice");
  const OutputRequest request = Request({"b=SC-88", "A=record:x"});
  EXPECT_EQ(request.portA, "record:x");
  EXPECT_EQ(request.portB, "SC-88");
}

TEST_F(OutputPlanTest, NamesAreCheckedAgainstTheDeviceList) {
  const CMIDIPort choice = Choice();
  EXPECT_EQ(UsageText([&] { OutputPlan::Resolve(Request({"A=SC-55"}), choice, catalog); }),
            "unknown output device \"SC-55\" for PORT A; `velvasto-cli ports` lists the devices");
  EXPECT_EQ(UsageText([&] { OutputPlan::Resolve(Request({"B=sc-88"}), choice, catalog); }),
            "unknown output device \"sc-88\" for PORT B; `velvasto-cli ports` lists the devices");
  // Only PORT B named: PORT A is the settings' mapper, which is "Synth A".
  EXPECT_EQ(UsageText([&] { OutputPlan::Resolve(Request({"B=Synth A"}), choice, catalog); }),
            "PORT A and PORT B cannot both be \"Synth A\"");
  EXPECT_EQ(UsageText([&] { OutputPlan::Resolve(Request({"A=SC-88", "B=SC-88"}), choice, catalog); }),
            "PORT A and PORT B cannot both be \"SC-88\"");
  EXPECT_EQ(UsageText([&] { OutputPlan::Resolve(Request({"A=record:"}), choice, catalog); }),
            "PORT A: record: needs a file name, as in record:FILE");
}

TEST_F(OutputPlanTest, AMistakenNameLeavesNoRecordFileBehind) {
  const CMIDIPort choice = Choice();
  const std::string file = (dir.Path() / "rec.txt").string();
  EXPECT_THROW(OutputPlan::Resolve(Request({"A=record:" + file, "B=nothing"}), choice, catalog), UsageProblem);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(OutputPlanTest, OutOptionsOverTheSettingsChoice) {
  const CMIDIPort twoPorts = Choice(2, "Synth B", "SC-88");
  ASSERT_EQ(twoPorts.PortCount(), 2);

  const OutputPlan settings = OutputPlan::Resolve({}, twoPorts, catalog);
  EXPECT_EQ(settings.PortCount(), 2);
  EXPECT_EQ(settings.Describe(PortId::A), "Synth B");
  EXPECT_EQ(settings.Describe(PortId::B), "SC-88");

  // Naming PORT A alone plays one port; naming PORT B alone keeps the settings' PORT A.
  const OutputPlan onlyA = OutputPlan::Resolve(Request({"A=Synth A"}), twoPorts, catalog);
  EXPECT_EQ(onlyA.PortCount(), 1);
  EXPECT_EQ(onlyA.Describe(PortId::A), "Synth A");
  EXPECT_EQ(onlyA.Describe(PortId::B), "-");
  const OutputPlan onlyB = OutputPlan::Resolve(Request({"B=Synth A"}), twoPorts, catalog);
  EXPECT_EQ(onlyB.Describe(PortId::A), "Synth B");
  EXPECT_EQ(onlyB.Describe(PortId::B), "Synth A");

  const auto opened = onlyB.Open(catalog);
  EXPECT_EQ(opened->PortCount(), 2);
  EXPECT_EQ(opened->Device(PortId::A)->Name(), "Synth B");
  EXPECT_EQ(opened->Device(PortId::B)->Name(), "Synth A");

  // The default choice: the mapper, one port.
  CINIFile::SetSettingsPath(dir.Path() / "other.ini");
  const OutputPlan byDefault = OutputPlan::Resolve({}, Choice(), catalog);
  EXPECT_EQ(byDefault.PortCount(), 1);
  EXPECT_EQ(byDefault.Describe(PortId::A), "Synth A");
  EXPECT_EQ(byDefault.Open(catalog)->Device(PortId::A)->Name(), "Synth A");
}

TEST_F(OutputPlanTest, BothPortsRecordIntoOneFileAndLaterSongsGoOnInIt) {
  const std::string file = (dir.Path() / "rec.txt").string();
  {
    // The same file under two spellings.
    const OutputPlan plan = OutputPlan::Resolve(
        Request({"A=record:" + file, "B=record:" + (dir.Path() / "." / "rec.txt").string()}), Choice(), catalog);
    EXPECT_EQ(plan.PortCount(), 2);
    EXPECT_EQ(plan.Describe(PortId::A), "record:" + file);
    for (int song = 0; song < 2; ++song) {
      const auto ports = plan.Open(catalog);
      ports->Device(PortId::A)->SendShort(0x643C90, 1000 * song);
      ports->Device(PortId::B)->SendShort(0x403C80, 2000 * song);
    }
  }
  EXPECT_EQ(test::ReadWholeFile(file), "0 A MSG 90 3C 64\n0 B MSG 80 3C 40\n1000 A MSG 90 3C 64\n2000 B MSG 80 3C 40\n");
}

TEST_F(OutputPlanTest, APlanServesAsTheCatalogueAndChoiceOfAPlayer) {
  // The settings name other devices; the plan decides.
  const CMIDIPort settings = Choice(2, "Synth B", "SC-88");
  const std::string file = (dir.Path() / "rec.txt").string();
  {
    const OutputPlan plan = OutputPlan::Resolve(Request({"A=SC-88", "B=record:" + file}), settings, catalog);
    PlannedDevices planned(plan, catalog);
    EXPECT_EQ(planned.Choice().PortCount(), 2);
    EXPECT_EQ(planned.Choice().Devices(), (std::vector<DeviceEntry>{{0, "SC-88"}, {1, "record:" + file}}));
    // As a song opens its devices.
    OpenedPorts ports(planned.Choice(), planned);
    EXPECT_EQ(ports.Device(PortId::A)->Name(), "SC-88");
    ports.Device(PortId::B)->SendShort(0x7F0AB3, 0);
  }
  EXPECT_EQ(test::ReadWholeFile(file), "0 B MSG B3 0A 7F\n");

  const OutputPlan onePort = OutputPlan::Resolve(Request({"A=Synth B"}), settings, catalog);
  PlannedDevices planned(onePort, catalog);
  EXPECT_EQ(planned.Choice().PortCount(), 1);
  OpenedPorts ports(planned.Choice(), planned);
  EXPECT_EQ(ports.Device(PortId::A)->Name(), "Synth B");
  EXPECT_EQ(ports.Device(PortId::B), nullptr);
}

TEST_F(OutputPlanTest, PortListMarksTheChosenDevices) {
  EXPECT_EQ(PortListLines(Choice(), "Synth A"),
            (std::vector<std::string>{"A  Synth A", "   Synth B", "   SC-88"}));
  EXPECT_EQ(PortListLines(Choice(2, "SC-88", "Synth B"), "Synth A"),
            (std::vector<std::string>{"   Synth A", "B  Synth B", "A  SC-88"}));
  // A mapper that is not in the list stands on a line of its own.
  CINIFile::SetSettingsPath(dir.Path() / "other.ini");
  EXPECT_EQ(PortListLines(Choice(), "System default"),
            (std::vector<std::string>{"A  System default", "   Synth A", "   Synth B", "   SC-88"}));
}

}  // namespace
}  // namespace velvasto::cli
