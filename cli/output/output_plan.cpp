#include "cli/output/output_plan.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

#include "cli/usage_problem.h"
#include "core/errors.h"
#include "midiout/device_error.h"

namespace velvasto::cli {
namespace {

constexpr std::string_view kRecordPrefix = "record:";

const char* PortName(PortId port) { return port == PortId::B ? "PORT B" : "PORT A"; }

std::filesystem::path ComparablePath(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path), ec);
  return ec ? std::filesystem::absolute(path) : canonical;
}

}  // namespace

void AddOutOption(std::string_view value, OutputRequest& request) {
  const char letter = value.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
  if (value.size() < 3 || value[1] != '=' || (letter != 'A' && letter != 'B')) {
    throw UsageProblem("--out takes PORT=NAME with PORT A or B, as in --out A=\"Velvasto Synth A\" or "
                       "--out B=record:FILE");
  }
  std::optional<std::string>& slot = letter == 'A' ? request.portA : request.portB;
  if (slot) throw UsageProblem(std::string("--out names PORT ") + letter + " twice");
  slot = std::string(value.substr(2));
}

std::vector<std::filesystem::path> RecordFiles(const OutputRequest& request) {
  std::vector<std::filesystem::path> files;
  for (const std::optional<std::string>* value : {&request.portA, &request.portB}) {
    if (*value && (*value)->starts_with(kRecordPrefix)) files.emplace_back((*value)->substr(kRecordPrefix.size()));
  }
  return files;
}

std::string OutputPlan::Target::RecordName() const { return std::string(kRecordPrefix) + recordPath.string(); }

OutputPlan::Target OutputPlan::ResolveOne(PortId port, std::string_view value, const CMIDIPort& choice,
                                          const std::shared_ptr<RecordSink>& sharedRecord,
                                          const std::filesystem::path& sharedPath) {
  Target target;
  if (value.starts_with(kRecordPrefix)) {
    const std::filesystem::path path(value.substr(kRecordPrefix.size()));
    if (path.empty()) throw UsageProblem(std::string(PortName(port)) + ": record: needs a file name, as in record:FILE");
    target.recordPath = path;
    target.record = sharedRecord && ComparablePath(path) == ComparablePath(sharedPath)
                        ? sharedRecord
                        : std::make_shared<RecordSink>(path);
    return target;
  }
  const auto& table = choice.Devices();
  const auto found = std::find_if(table.begin(), table.end(), [&](const DeviceEntry& entry) { return entry.name == value; });
  if (found == table.end()) {
    throw UsageProblem("unknown output device \"" + std::string(value) + "\" for " + PortName(port) +
                       "; `velvasto-cli ports` lists the devices");
  }
  target.entry = *found;
  target.deviceName = found->name;
  return target;
}

OutputPlan::Target OutputPlan::FromChoice(const CMIDIPort& choice, std::int32_t index, const std::string& mapperName) {
  Target target;
  if (index == CMIDIPort::kMapper) {
    target.mapper = true;
    target.deviceName = mapperName;
  } else {
    target.entry = choice.Devices().at(static_cast<std::size_t>(index));
    target.deviceName = target.entry.name;
  }
  return target;
}

OutputPlan OutputPlan::Resolve(const OutputRequest& request, const CMIDIPort& choice, MidiDeviceCatalog& devices) {
  const std::string mapperName = devices.MakeMapper()->Name();
  const auto isRecord = [](const std::optional<std::string>& value) {
    return value && value->starts_with(kRecordPrefix);
  };
  // Device names first, so that a mistake there leaves no record file behind.
  for (const auto& [value, port] : {std::pair{&request.portA, PortId::A}, std::pair{&request.portB, PortId::B}}) {
    if (*value && !isRecord(*value)) ResolveOne(port, **value, choice, nullptr, {});
  }

  OutputPlan plan;
  plan.portA_ = request.portA ? ResolveOne(PortId::A, *request.portA, choice, nullptr, {})
                              : FromChoice(choice, choice.PortA(), mapperName);
  if (request.portB) {
    plan.portB_ = ResolveOne(PortId::B, *request.portB, choice, plan.portA_.record, plan.portA_.recordPath);
  } else if (!request.portA && choice.PortCount() == 2) {
    plan.portB_ = FromChoice(choice, choice.PortB(), mapperName);
  }
  if (plan.portB_ && !plan.portA_.deviceName.empty() && plan.portA_.deviceName == plan.portB_->deviceName) {
    throw UsageProblem("PORT A and PORT B cannot both be \"" + plan.portA_.deviceName + "\"");
  }
  return plan;
}

std::string OutputPlan::Describe(PortId port) const {
  const Target* target = port == PortId::B ? (portB_ ? &*portB_ : nullptr) : &portA_;
  if (target == nullptr) return "-";
  return target->record ? target->RecordName() : target->deviceName;
}

std::unique_ptr<MidiOutDevice> OutputPlan::MakeDevice(const Target& target, PortId port, MidiDeviceCatalog& devices) {
  if (target.record) {
    return std::make_unique<RecordingDevice>(target.RecordName(), port, target.record);
  }
  return target.mapper ? devices.MakeMapper() : devices.MakeDevice(target.entry);
}

std::unique_ptr<MidiOutDevice> OutputPlan::MakePortDevice(PortId port, MidiDeviceCatalog& devices) const {
  return MakeDevice(port == PortId::B && portB_ ? *portB_ : portA_, port == PortId::B && portB_ ? PortId::B : PortId::A,
                    devices);
}

std::vector<const OutputPlan::Target*> OutputPlan::Recordings() const {
  std::vector<const Target*> recordings;
  if (portA_.record) recordings.push_back(&portA_);
  if (portB_ && portB_->record && portB_->record != portA_.record) recordings.push_back(&*portB_);
  return recordings;
}

bool OutputPlan::RecordFailed() const {
  const auto failed = [](const Target& target) { return target.record && target.record->Failure() != 0; };
  return failed(portA_) || (portB_ && failed(*portB_));
}

std::string OutputPlan::RecordFailure() const {
  for (const Target* target : Recordings()) {
    if (const int error = target->record->Failure()) {
      return target->RecordName() + ": " + std::strerror(error);
    }
  }
  return {};
}

void OutputPlan::CommitRecordings() const {
  for (const Target* target : Recordings()) {
    if (!target->record->Written()) continue;
    try {
      target->record->Commit();
    } catch (const CErrMessage& error) {
      throw CDeviceErrMessage(mmerr::kClose, target->RecordName() + ": " + error.Message());
    }
  }
}

std::unique_ptr<OpenedPorts> OutputPlan::Open(MidiDeviceCatalog& devices) const {
  return std::make_unique<OpenedPorts>(MakeDevice(portA_, PortId::A, devices),
                                       portB_ ? MakeDevice(*portB_, PortId::B, devices) : nullptr);
}

}  // namespace velvasto::cli
