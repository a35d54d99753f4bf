#include "midiout/midi_port.h"

#include <new>

#include "core/errors.h"
#include "midiout/device_registry.h"

namespace velvasto {

const CMIDIPort::ChoiceKeys& CMIDIPort::DefaultKeys() {
  static const ChoiceKeys keys{"MIDI Port Num", "MIDI Port A", "MIDI Port B"};
  return keys;
}

void CMIDIPort::Load(MidiDeviceCatalog& devices) {
  LoadDevices(devices);
  // With no choice stored yet (a first run), both inputs of the built-in synthesizer: every
  // track of a two-port song plays without hardware.
  if (HasKey(DefaultKeys().portA)) {
    ReadChoice(DefaultKeys());
  } else {
    ResolveChoice(2, DeviceRegistry::kSynthNameA, DeviceRegistry::kSynthNameB);
  }
}

bool CMIDIPort::Save() { return WriteChoice(DefaultKeys()); }

void CMIDIPort::LoadDevices(MidiDeviceCatalog& devices) {
  try {
    const std::vector<std::optional<std::string>> listed = devices.ListDevices();
    if (listed.empty()) throw CMMSystemErrMessage(mmerr::kDeviceInfo);
    std::vector<DeviceEntry> table;
    for (std::uint32_t number = 0; number < listed.size(); ++number) {
      if (listed[number]) table.push_back({number, *listed[number]});
    }
    if (table.empty()) throw CMMSystemErrMessage(mmerr::kDeviceInfo);
    devices_ = std::move(table);
  } catch (const std::bad_alloc&) {
    throw CErrMessage(errc::kOutOfMemory);
  }
}

void CMIDIPort::ReadChoice(const ChoiceKeys& keys) {
  // Any count but 2 is one port: the file may have been edited by hand.
  ResolveChoice(ReadInt(keys.count, 1) == 2 ? 2 : 1, ReadString(keys.portA, kMapperName),
                ReadString(keys.portB, kNoPortName));
}

void CMIDIPort::ResolveChoice(int count, std::string_view nameA, std::string_view nameB) {
  portCount_ = count;
  portB_ = kNoPort;
  if (nameA == kMapperName) {
    portCount_ = 1;
    portA_ = kMapper;
    return;
  }
  if (nameB == kNoPortName || nameB == nameA) portCount_ = 1;
  portA_ = FindDevice(nameA);
  if (portCount_ == 2) {
    portB_ = FindDevice(nameB);
    if (portB_ == kNoPort) portCount_ = 1;
  }
}

bool CMIDIPort::WriteChoice(const ChoiceKeys& keys) {
  return WriteInt(keys.count, portCount_) && WriteString(keys.portA, PortAName()) &&
         WriteString(keys.portB, PortBName());
}

void CMIDIPort::ClearChoice() {
  portCount_ = 1;
  portA_ = kMapper;
  portB_ = kNoPort;
}

bool CMIDIPort::Select(std::int32_t portA, std::int32_t portB) {
  const auto deviceCount = static_cast<std::int32_t>(devices_.size());
  // A selection must name a table entry (or −1), or the names saved later would be read from
  // outside the table.
  if (portA < -1 || portA >= deviceCount || portB < -1 || portB >= deviceCount) return false;
  const bool valid = portCount_ == 2 ? portA != portB && portA != kMapper && portB != kNoPort : portB == kNoPort;
  if (!valid) return false;
  portA_ = portA;
  portB_ = portB;
  return true;
}

bool CMIDIPort::SetPortCount(int count) {
  if (count == portCount_) return true;
  if (count != 2) {
    ClearChoice();
    return true;
  }
  if (devices_.size() < 2) return false;
  portCount_ = 2;
  if (portA_ == kMapper) portA_ = 0;
  portB_ = portA_ == 0 ? 1 : 0;
  return true;
}

std::string CMIDIPort::PortAName() const {
  return portA_ == kMapper ? std::string(kMapperName) : devices_[static_cast<std::size_t>(portA_)].name;
}

std::string CMIDIPort::PortBName() const {
  return portB_ == kNoPort ? std::string(kNoPortName) : devices_[static_cast<std::size_t>(portB_)].name;
}

std::int32_t CMIDIPort::FindDevice(std::string_view name) const {
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i].name == name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace velvasto
