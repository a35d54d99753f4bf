#include "cli/output/planned_devices.h"

namespace velvasto::cli {

PlannedDevices::PlannedDevices(const OutputPlan& plan, MidiDeviceCatalog& devices) : plan_(plan), devices_(devices) {
  choice_.Load(*this);
  // Whatever the settings named, the plan decides: devices 0 and 1, or the one port.
  const bool twoPorts = plan_.PortCount() == 2;
  choice_.SetPortCount(plan_.PortCount());
  choice_.Select(twoPorts ? 0 : CMIDIPort::kMapper, twoPorts ? 1 : CMIDIPort::kNoPort);
}

std::vector<std::optional<std::string>> PlannedDevices::ListDevices() {
  std::vector<std::optional<std::string>> names{plan_.Describe(PortId::A)};
  if (plan_.PortCount() == 2) names.emplace_back(plan_.Describe(PortId::B));
  return names;
}

std::unique_ptr<MidiOutDevice> PlannedDevices::MakeDevice(const DeviceEntry& entry) {
  return plan_.MakePortDevice(entry.number == 1 ? PortId::B : PortId::A, devices_);
}

std::unique_ptr<MidiOutDevice> PlannedDevices::MakeMapper() { return plan_.MakePortDevice(PortId::A, devices_); }

}  // namespace velvasto::cli
