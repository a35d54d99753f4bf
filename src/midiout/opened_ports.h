#pragma once
// The devices a song plays through, open for as long as the object lives: PORT A and, with two
// ports, PORT B.

#include <memory>

#include "midiout/device_catalog.h"
#include "midiout/midi_out_device.h"
#include "midiout/midi_port.h"
#include "song/stream_event.h"

namespace velvasto {

class OpenedPorts {
 public:
  // Opens the devices of `choice`: port A (the mapper for −1), then port B when the choice has
  // two ports. When port B fails, port A is closed again and port B's error is thrown (a failure
  // of that close throws CMMSystemErrMessage(1005) instead).
  OpenedPorts(const CMIDIPort& choice, MidiDeviceCatalog& devices);
  // The same for devices made elsewhere (a renderer's inputs, recorders); `portB` may be null
  // for one port.
  OpenedPorts(std::unique_ptr<MidiOutDevice> portA, std::unique_ptr<MidiOutDevice> portB);
  // Closes whatever is still open; failures are not reported here.
  ~OpenedPorts();
  OpenedPorts(const OpenedPorts&) = delete;
  OpenedPorts& operator=(const OpenedPorts&) = delete;

  // Closes port A, then port B. Throws CMMSystemErrMessage(1005) at the first failure.
  void Close();

  int PortCount() const { return portB_ ? 2 : 1; }
  // The open device of `port`, or null for PortId::None, port B of a one-port song, or after
  // Close.
  MidiOutDevice* Device(PortId port) const;

 private:
  void OpenBoth();

  std::unique_ptr<MidiOutDevice> portA_;
  std::unique_ptr<MidiOutDevice> portB_;
};

}  // namespace velvasto
