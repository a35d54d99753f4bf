#include "cli/output/port_list.h"

#include <algorithm>

namespace velvasto::cli {

std::vector<std::string> PortListLines(const CMIDIPort& choice, const std::string& mapperName) {
  const auto& devices = choice.Devices();
  const bool mapperIsA = choice.PortA() == CMIDIPort::kMapper;
  // The listed device that stands for the mapper, when port A is the mapper.
  const auto mapperEntry =
      std::find_if(devices.begin(), devices.end(), [&](const DeviceEntry& entry) { return entry.name == mapperName; });

  std::vector<std::string> lines;
  if (mapperIsA && mapperEntry == devices.end()) lines.push_back("A  " + mapperName);
  for (std::size_t index = 0; index < devices.size(); ++index) {
    const auto position = static_cast<std::int32_t>(index);
    const bool isA = mapperIsA ? devices.begin() + position == mapperEntry : choice.PortA() == position;
    const bool isB = choice.PortCount() == 2 && choice.PortB() == position;
    lines.push_back(std::string(isA ? "A  " : isB ? "B  " : "   ") + devices[index].name);
  }
  return lines;
}

}  // namespace velvasto::cli
