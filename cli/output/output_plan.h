#pragma once
// Where a song plays: the outputs named with --out, over the settings' port choice.
//
//   --out A=NAME           PORT A plays through the device listed as NAME (velvasto-cli ports)
//   --out B=NAME           PORT B likewise; the song then uses two ports
//   --out A=record:FILE    PORT A is recorded to FILE, one line per message in the form of
//                          `dump` (midiout/event_line.h); both ports may record to one file,
//                          which is replaced only when the recording is committed
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
#include <vector>

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

// The files `request` records into.
std::vector<std::filesystem::path> RecordFiles(const OutputRequest& request);

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

  // A recording is written into a new version of its file (see RecordSink), which takes the
  // file's place only when CommitRecordings is called; otherwise an older file stays as it was.
  //
  // Whether a recording could not be written; RecordFailure() then says
  // "record:FILE: <the system's reason>".
  bool RecordFailed() const;
  std::string RecordFailure() const;
  // Puts every recording that holds anything in its file's place. Throws CDeviceErrMessage
  // (1005, the device's close) with the recording and the system's reason.
  void CommitRecordings() const;

 private:
  struct Target {
    // The device's entry; the mapper when `mapper` is set; unused for a recording.
    DeviceEntry entry;
    bool mapper = false;
    std::shared_ptr<RecordSink> record;
    std::filesystem::path recordPath;
    // The device name, the mapper's included; empty for a recording.
    std::string deviceName;

    // "record:FILE", the name of a recording in devices and messages.
    std::string RecordName() const;
  };

  static Target ResolveOne(PortId port, std::string_view value, const CMIDIPort& choice,
                           const std::shared_ptr<RecordSink>& sharedRecord, const std::filesystem::path& sharedPath);
  static Target FromChoice(const CMIDIPort& choice, std::int32_t index, const std::string& mapperName);
  static std::unique_ptr<MidiOutDevice> MakeDevice(const Target& target, PortId port, MidiDeviceCatalog& devices);
  // The targets that record, each sink once.
  std::vector<const Target*> Recordings() const;

  Target portA_;
  std::optional<Target> portB_;
};

}  // namespace velvasto::cli
