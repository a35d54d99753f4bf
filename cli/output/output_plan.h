#pragma once
// Where a song plays: the outputs named with --out, over the settings' port choice.
//
//   --out A=NAME           PORT A plays through the device listed as NAME (velvasto-cli ports)
//   --out B=NAME           PORT B likewise; the song then uses two ports
//   --out A=record:FILE    PORT A is recorded to FILE, one line per message in the form of
//                          `dump` (midiout/event_line.h); both ports may record to one file
//
// Without --out the settings' choice applies (by default the built-in synthesizer). When --out
// names only PORT B, PORT A is the settings' port A; when it names only PORT A, the song plays
// on that one port.
//
// Use: AddOutOption for each --out value while reading the command line; OutputPlan::Resolve
// once the settings are read (usage mistakes surface here, before a song is loaded); load the
// song for PortCount() ports; Open() the devices for each song played.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "midiout/backends/recording_device.h"
#include "midiout/device_catalog.h"
#include "midiout/midi_port.h"
#include "midiout/opened_ports.h"

namespace velvasto::cli {

// The --out values as given, after "A=" and "B=".
struct OutputRequest {
  std::optional<std::string> portA;
  std::optional<std::string> portB;
};

// Reads one --out value ("A=NAME" or "B=NAME", the letter in either case) into `request`.
// Throws UsageProblem for a malformed value or a port named twice.
void AddOutOption(std::string_view value, OutputRequest& request);

class OutputPlan {
 public:
  // Resolves `request` over `choice` (a loaded port choice: its device table and selections);
  // `devices` tells the mapper's name. Throws UsageProblem for a name not in the device table
  // and for PORT A and PORT B on one device; CSystemErrMessage when a record file cannot be
  // created.
  static OutputPlan Resolve(const OutputRequest& request, const CMIDIPort& choice, MidiDeviceCatalog& devices);

  int PortCount() const { return portB_ ? 2 : 1; }
  // What a port plays through, for messages: the device name, or "record:FILE".
  std::string Describe(PortId port) const;

  // Fresh devices of the plan, opened (see OpenedPorts for the errors). Recordings of every
  // song played go on in the same files.
  std::unique_ptr<OpenedPorts> Open(MidiDeviceCatalog& devices) const;
  // A fresh, closed device for one port (PORT B only when the plan has two).
  std::unique_ptr<MidiOutDevice> MakePortDevice(PortId port, MidiDeviceCatalog& devices) const;

 private:
  struct Target {
    // The device's entry; the mapper when `mapper` is set; unused for a recording.
    DeviceEntry entry;
    bool mapper = false;
    std::shared_ptr<RecordSink> record;
    std::filesystem::path recordPath;
    // The device name, the mapper's included; empty for a recording.
    std::string deviceName;
  };

  static Target ResolveOne(PortId port, std::string_view value, const CMIDIPort& choice,
                           const std::shared_ptr<RecordSink>& sharedRecord, const std::filesystem::path& sharedPath);
  static Target FromChoice(const CMIDIPort& choice, std::int32_t index, const std::string& mapperName);
  static std::unique_ptr<MidiOutDevice> MakeDevice(const Target& target, PortId port, MidiDeviceCatalog& devices);

  Target portA_;
  std::optional<Target> portB_;
};

}  // namespace velvasto::cli
