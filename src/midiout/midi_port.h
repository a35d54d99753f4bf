#pragma once
// CMIDIPort: the output devices present and which of them are PORT A and PORT B. Devices are
// remembered in the settings by name, so a choice survives changes in device numbering.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cini_file.h"
#include "midiout/device_catalog.h"

namespace velvasto {

class CMIDIPort : public CINIFile {
 public:
  // Port A −1 is the mapper; port B −1 is no port.
  static constexpr std::int32_t kMapper = -1;
  static constexpr std::int32_t kNoPort = -1;
  static constexpr std::string_view kMapperName = "MIDI_MAPPER";
  static constexpr std::string_view kNoPortName = "NO_PORT";

  CMIDIPort() = default;
  virtual ~CMIDIPort() = default;
  // Copying is the assignment of a port choice: port count, device table and both selections.
  CMIDIPort(const CMIDIPort&) = default;
  CMIDIPort& operator=(const CMIDIPort&) = default;

  // Enumerates the devices and reads "MIDI Port Num", "MIDI Port A", "MIDI Port B"; without a
  // "MIDI Port A" key the choice is both inputs of the built-in synthesizer. Throws
  // CMMSystemErrMessage(1001) when no device answers, CErrMessage(1) when out of memory.
  virtual void Load(MidiDeviceCatalog& devices);
  // Writes the three keys. False when a write failed (message 62012 is the caller's to show);
  // the keys after the failing one are not written.
  virtual bool Save();

  // Stores both selections when they form a valid choice for the port count: with one port,
  // B is −1 (A may be the mapper); with two, A and B are different devices.
  bool Select(std::int32_t portA, std::int32_t portB);
  // Changes the port count the way the port dialogs do: to 1, both selections are cleared; to
  // 2, port A becomes device 0 when it was the mapper and port B the first other device. False,
  // with nothing changed, when two ports are asked for and fewer than two devices exist.
  bool SetPortCount(int count);

  int PortCount() const { return portCount_; }
  std::int32_t PortA() const { return portA_; }
  std::int32_t PortB() const { return portB_; }
  const std::vector<DeviceEntry>& Devices() const { return devices_; }
  // What the settings remember for each port: the device name, "MIDI_MAPPER" or "NO_PORT".
  std::string PortAName() const;
  std::string PortBName() const;

 protected:
  // The settings keys of one port choice.
  struct ChoiceKeys {
    std::string count;
    std::string portA;
    std::string portB;
  };
  static const ChoiceKeys& DefaultKeys();

  void LoadDevices(MidiDeviceCatalog& devices);
  void ReadChoice(const ChoiceKeys& keys);
  // Selects the named devices for `count` ports: the mapper forces one port, so do port B
  // "NO_PORT" and one device named twice; a device not present is the mapper (port A) or no
  // port, and then one port (port B).
  void ResolveChoice(int count, std::string_view nameA, std::string_view nameB);
  bool WriteChoice(const ChoiceKeys& keys);
  // One port, the mapper, no port B.
  void ClearChoice();

 private:
  std::int32_t FindDevice(std::string_view name) const;

  int portCount_ = 1;
  std::vector<DeviceEntry> devices_;
  std::int32_t portA_ = kMapper;
  std::int32_t portB_ = kNoPort;
};

}  // namespace velvasto
