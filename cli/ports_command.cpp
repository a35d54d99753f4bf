// `ports`: the output devices of this machine, with the settings' PORT A and PORT B marked.

#include <cstdio>
#include <exception>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/error_output.h"
#include "cli/output/port_list.h"
#include "cli/standard_output.h"
#include "midiout/device_registry.h"

namespace velvasto::cli {

int RunPorts(std::span<const std::string_view> args) {
  if (!args.empty()) return UsageError("ports takes no arguments");
  try {
    LoadSettings();
    DeviceRegistry registry(SynthConfigFromSettings());
    CMIDIPort choice;
    choice.Load(registry);
    for (const std::string& line : PortListLines(choice, registry.MakeMapper()->Name())) {
      std::printf("%s\n", line.c_str());
    }
  } catch (...) {
    PrintCurrentException(std::current_exception());
    return kExitFileError;
  }
  return FinishStandardOutput();
}

}  // namespace velvasto::cli
