#include "midiout/opened_ports.h"

#include "core/errors.h"

namespace velvasto {
namespace {

std::unique_ptr<MidiOutDevice> MakePortDevice(const CMIDIPort& choice, std::int32_t index,
                                              MidiDeviceCatalog& devices) {
  if (index == CMIDIPort::kMapper) return devices.MakeMapper();
  return devices.MakeDevice(choice.Devices().at(static_cast<std::size_t>(index)));
}

void CloseQuietly(MidiOutDevice* device) {
  if (device == nullptr || !device->IsOpen()) return;
  try {
    device->Close();
  } catch (...) {
    // Nothing can be done about a device that will not close while its owner goes away.
  }
}

}  // namespace

OpenedPorts::OpenedPorts(const CMIDIPort& choice, MidiDeviceCatalog& devices)
    : portA_(MakePortDevice(choice, choice.PortA(), devices)),
      portB_(choice.PortCount() == 2 && choice.PortB() != CMIDIPort::kNoPort
                 ? MakePortDevice(choice, choice.PortB(), devices)
                 : nullptr) {
  OpenBoth();
}

OpenedPorts::OpenedPorts(std::unique_ptr<MidiOutDevice> portA, std::unique_ptr<MidiOutDevice> portB)
    : portA_(std::move(portA)), portB_(std::move(portB)) {
  OpenBoth();
}

OpenedPorts::~OpenedPorts() {
  CloseQuietly(portA_.get());
  CloseQuietly(portB_.get());
}

void OpenedPorts::OpenBoth() {
  portA_->Open();
  if (!portB_) return;
  try {
    portB_->Open();
  } catch (...) {
    try {
      portA_->Close();
    } catch (const CErrMessage&) {
      throw CMMSystemErrMessage(mmerr::kClose);
    }
    throw;
  }
}

void OpenedPorts::Close() {
  for (MidiOutDevice* device : {portA_.get(), portB_.get()}) {
    if (device == nullptr || !device->IsOpen()) continue;
    try {
      device->Close();
    } catch (const CErrMessage&) {
      throw CMMSystemErrMessage(mmerr::kClose);
    }
  }
}

MidiOutDevice* OpenedPorts::Device(PortId port) const {
  MidiOutDevice* device = port == PortId::A ? portA_.get() : port == PortId::B ? portB_.get() : nullptr;
  return device != nullptr && device->IsOpen() ? device : nullptr;
}

}  // namespace velvasto
