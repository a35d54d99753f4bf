#include "support/song_compare.h"

#include <algorithm>
#include <map>

namespace velvasto::test {

namespace {

struct Message {
  std::uint64_t time;
  std::vector<std::uint8_t> bytes;
};

// The messages of each lane ("A ch1", "B sysex", ...) in table order.
using Lanes = std::map<std::string, std::vector<Message>>;

Lanes LanesOf(const CMIDIStream& song, CompareOptions options = {}) {
  Lanes lanes;
  for (const StreamEvent& event : song.Events()) {
    if (event.status == kStatusTempo || event.status == kStatusMarker || event.status == kStatusEnd) continue;
    if (event.port == PortId::None) continue;
    const std::string port = event.port == PortId::A ? "A" : "B";
    if (event.status == kStatusSysEx) {
      const auto bytes = song.SysExData(event);
      lanes[port + " sysex"].push_back({event.time, {bytes.begin(), bytes.end()}});
      continue;
    }
    const auto status = static_cast<std::uint8_t>(event.message);
    std::vector<std::uint8_t> bytes{status, static_cast<std::uint8_t>(event.message >> 8),
                                    static_cast<std::uint8_t>(event.message >> 16)};
    bytes.resize(status >= 0xF0 ? (status == 0xF3 ? 2 : 1) : (status & 0xE0) == 0xC0 ? 2 : 3);
    if (options.noteOffFormsAlike && (status & 0xF0) == 0x80) bytes = {static_cast<std::uint8_t>(0x90 | (status & 0x0F)), bytes[1], 0};
    lanes[status < 0xF0 ? port + " ch" + std::to_string((status & 0x0F) + 1) : port + " sysex"].push_back({event.time, bytes});
  }
  return lanes;
}

std::uint64_t Distance(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; }

}  // namespace

std::vector<std::string> MessageDifferences(const CMIDIStream& expected, const CMIDIStream& actual,
                                            std::uint64_t toleranceUs, CompareOptions options) {
  const Lanes want = LanesOf(expected, options);
  Lanes got = LanesOf(actual, options);
  std::vector<std::string> differences;
  const auto add = [&differences](std::string text) {
    if (differences.size() < 20) differences.push_back(std::move(text));
  };
  for (const auto& [lane, messages] : want) {
    const std::vector<Message> other = got[lane];
    if (other.size() != messages.size()) {
      add(lane + ": " + std::to_string(other.size()) + " messages, expected " + std::to_string(messages.size()));
    }
    for (std::size_t i = 0; i < std::min(messages.size(), other.size()); ++i) {
      const std::string where = lane + " #" + std::to_string(i);
      if (messages[i].bytes != other[i].bytes) add(where + ": other bytes");
      if (Distance(messages[i].time, other[i].time) > toleranceUs) {
        add(where + ": time " + std::to_string(other[i].time) + " against " + std::to_string(messages[i].time));
      }
    }
  }
  for (const auto& [lane, messages] : got) {
    if (!want.contains(lane) && !messages.empty()) add(lane + ": not expected");
  }
  return differences;
}

}  // namespace velvasto::test
