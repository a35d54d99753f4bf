// Feeds arbitrary bytes to the Standard MIDI File reader, once with every conversion switched
// on and two ports, once plain with one port. Besides not crashing, a song that loads must have
// a well-formed table: times never go back, the end record comes last and only there, SysEx
// records hold their bytes, and with one port nothing is addressed to port B.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/errors.h"
#include "song/midi_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void LoadAndCheck(std::span<const std::uint8_t> bytes, const velvasto::SongSettings& settings) {
  using namespace velvasto;
  CMIDIFile file(settings);
  try {
    if (!file.LoadFromMemory(bytes)) return;
  } catch (const CErrMessage&) {
    return;
  }
  const auto events = file.Events();
  Check(!events.empty());
  Check(events.back().status == kStatusEnd);
  std::uint64_t time = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const StreamEvent& event = events[i];
    Check(event.time >= time);
    time = event.time;
    Check(event.status != kStatusEnd || i + 1 == events.size());
    Check(event.status != kStatusMarker);
    if (event.status == kStatusSysEx) Check(!file.SysExData(event).empty());
    if (event.status == kStatusTempo || event.status == kStatusEnd) {
      Check(event.port == PortId::None);
    } else {
      Check(event.port == PortId::A || (event.port == PortId::B && settings.portCount == 2));
    }
  }
  Check(file.Info().playTimeUs == events.back().time);
  Check(file.TrackCount() >= 0 && file.TrackCount() <= 100);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  velvasto::SongSettings converting;
  converting.portCount = 2;
  converting.mapMode = 1;  // the title scan may ask for a second counting pass
  converting.adjust55 = true;
  converting.fix8850 = true;
  LoadAndCheck(bytes, converting);
  LoadAndCheck(bytes, velvasto::SongSettings{});
  return 0;
}
