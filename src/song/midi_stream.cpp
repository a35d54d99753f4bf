#include "song/midi_stream.h"

#include <new>
#include <stdexcept>

#include "core/errors.h"

namespace velvasto {

std::uint8_t ForceMapToMapLsb(int forceMap) {
  switch (forceMap) {
    case 1:
      return 3;  // SC-88Pro map
    case 2:
      return 2;  // SC-88 map
    case 3:
      return 1;  // SC-55 map
    default:
      return 0;
  }
}

CMIDIStream::CMIDIStream(SongSettings settings) : settings_(std::move(settings)) {
  if (settings_.portCount != 2) settings_.portCount = 1;
  rhythmPart_[0][0] = 1;
  rhythmPart_[1][0] = 1;
}

CMIDIStream::~CMIDIStream() = default;

std::span<const std::uint8_t> CMIDIStream::SysExData(const StreamEvent& event) const {
  if (event.status != kStatusSysEx || event.message >= sysexSpans_.size()) return {};
  const SysExSpan& span = sysexSpans_[event.message];
  return {sysexBytes_.data() + span.offset, span.length};
}

std::size_t CMIDIStream::TableBytes() const {
  return std::size_t{eventCount_} * sizeof(StreamEvent) + sysexBytes_.capacity() +
         sysexSpans_.capacity() * sizeof(SysExSpan);
}

std::uint32_t CMIDIStream::RhythmPart(PortId port, unsigned block) const {
  if (block > 15 || port == PortId::None) return 0;
  return rhythmPart_[port == PortId::B ? 1 : 0][block];
}

void CMIDIStream::SetRhythmPart(PortId port, unsigned block, std::uint32_t value) {
  if (block > 15 || port == PortId::None) return;
  rhythmPart_[port == PortId::B ? 1 : 0][block] = value;
}

std::uint32_t CMIDIStream::SongStartIndex() const {
  return blockCount_[kCm6Block] + blockCount_[kGsdBlock] + blockCount_[kGsd2Block];
}

std::uint64_t CMIDIStream::SongStartTime() const {
  return blockDuration_[kCm6Block] + blockDuration_[kGsdBlock] + blockDuration_[kGsd2Block];
}

std::uint8_t CMIDIStream::MapLsb() const {
  if (settings_.mapMode == 2) return ForceMapToMapLsb(settings_.forceMap);
  if (settings_.mapMode == 1 && fileMapKnown_) return static_cast<std::uint8_t>(fileMap_);
  return 0;
}

void CMIDIStream::BuildTable() {
  if (!CountPass()) CountPass();
  const std::uint32_t count = RecordCountOfCountPass();
  if (count == 0 || count > kMaxEvents) throw CErrMessage(errc::kOutOfMemory);
  table_.reset(new (std::nothrow) StreamEvent[count]);
  if (!table_) throw CErrMessage(errc::kOutOfMemory);
  eventCount_ = count;
  sysexBytes_.clear();
  sysexSpans_.clear();
  FillPass();
}

StreamEvent& CMIDIStream::Slot(std::uint32_t index) {
  // Both passes take the same decisions, so the fill never outgrows the count; should a reader
  // ever disagree with itself, refuse the file rather than write past the table.
  if (index >= eventCount_) throw CErrMessage(errc::kBadFileFormat);
  return table_[index];
}

void CMIDIStream::SetShortEvent(std::uint32_t index, std::uint8_t status, std::uint64_t time, std::uint8_t data0,
                                std::uint8_t data1, std::uint8_t data2, PortId port) {
  StreamEvent& event = Slot(index);
  event.time = time;
  event.message = static_cast<std::uint32_t>(data0) | static_cast<std::uint32_t>(data1) << 8 |
                  static_cast<std::uint32_t>(data2) << 16;
  event.status = status;
  event.port = port;
}

void CMIDIStream::SetSysExEvent(std::uint32_t index, std::uint64_t time, const std::uint8_t* data,
                                std::size_t length, PortId port) {
  StreamEvent& event = Slot(index);
  if (length > UINT32_MAX) throw CErrMessage(errc::kOutOfMemory);
  try {
    sysexSpans_.push_back({sysexBytes_.size(), static_cast<std::uint32_t>(length)});
    sysexBytes_.insert(sysexBytes_.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    throw CErrMessage(errc::kOutOfMemory);
  } catch (const std::length_error&) {
    throw CErrMessage(errc::kOutOfMemory);
  }
  event.time = time;
  event.message = static_cast<std::uint32_t>(sysexSpans_.size() - 1);
  event.status = kStatusSysEx;
  event.port = port;
}

}  // namespace velvasto
