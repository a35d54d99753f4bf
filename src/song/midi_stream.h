#pragma once
// CMIDIStream: a loaded song as one flat, time-ordered table of ready-to-send records whose
// times are microseconds from the start of the song. Readers derive from it and fill the table
// in two passes over their file: one counts the records, one writes them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "song/song_info.h"
#include "song/song_settings.h"
#include "song/stream_event.h"
#include "song/tempo_map.h"

namespace velvasto {

class CMIDIStream {
 public:
  // Control-block kinds at the head of the table, in the order they are sent.
  enum ControlBlock : std::size_t { kCm6Block = 0, kGsdBlock = 1, kGsd2Block = 2, kControlBlockCount = 3 };

  // The largest table a song may have; a song that would need more is refused as out of
  // memory (1 GiB of records) instead of exhausting the machine.
  static constexpr std::uint32_t kMaxEvents = 1u << 26;

  explicit CMIDIStream(SongSettings settings);
  virtual ~CMIDIStream();
  CMIDIStream(const CMIDIStream&) = delete;
  CMIDIStream& operator=(const CMIDIStream&) = delete;

  // What the reader found out about the song.
  virtual SongInfo Info() const = 0;

  std::span<const StreamEvent> Events() const { return {table_.get(), eventCount_}; }
  std::uint32_t EventCount() const { return eventCount_; }
  bool HasTable() const { return table_ != nullptr; }
  // The complete message (F0 .. F7) of a SysEx record.
  std::span<const std::uint8_t> SysExData(const StreamEvent& event) const;
  // Memory the loaded song holds: its records, their SysEx bytes and the index of those bytes.
  std::size_t TableBytes() const;

  const SongSettings& Settings() const { return settings_; }
  int PortCount() const { return settings_.portCount; }

  // Variation class of each program on the first GS module (see program_map.cpp).
  static const std::array<std::uint32_t, 128>& ProgramMapTable();

  bool FileMapKnown() const { return fileMapKnown_; }
  std::uint32_t FileMap() const { return fileMap_; }

  // Rhythm-part value of GS part block 0x0..0xF of a port: 0 normal part, 1 or 2 drum map.
  // Block 0 is MIDI channel 10, blocks 1..9 channels 1..9, blocks 0xA..0xF channels 11..16.
  std::uint32_t RhythmPart(PortId port, unsigned block) const;
  void SetRhythmPart(PortId port, unsigned block, std::uint32_t value);

  std::uint32_t ControlBlockCount(ControlBlock block) const { return blockCount_[block]; }
  std::uint64_t ControlBlockDuration(ControlBlock block) const { return blockDuration_[block]; }
  // The messages a control block sends: its records less the markers (and, for the first
  // block, less the tempo record that opens the table).
  std::uint32_t ControlBlockMessages(ControlBlock block) const { return blockMessages_[block]; }
  // Where the song proper begins, after the control blocks.
  std::uint32_t SongStartIndex() const;
  std::uint64_t SongStartTime() const;

  // Where the song's ticks lie in time, as the reader found them.
  const TempoMap& Tempos() const { return tempoMap_; }

 protected:
  // The counting pass: walks the file and leaves the number of records it would write in the
  // reader's own write index (returned by RecordCountOfCountPass). Returns false to ask for the
  // pass to be run once more.
  virtual bool CountPass() = 0;
  virtual std::uint32_t RecordCountOfCountPass() const = 0;
  // The filling pass: the same walk, writing records with consecutive indices from 0.
  virtual void FillPass() = 0;

  // Runs the counting pass (twice when it asks for it), allocates the table and runs the
  // filling pass. Throws error 1 when the table cannot be allocated.
  void BuildTable();

  void SetShortEvent(std::uint32_t index, std::uint8_t status, std::uint64_t time, std::uint8_t data0,
                     std::uint8_t data1, std::uint8_t data2, PortId port);
  void SetSysExEvent(std::uint32_t index, std::uint64_t time, const std::uint8_t* data, std::size_t length,
                     PortId port);

  void SetFileMap(std::uint32_t map) {
    fileMapKnown_ = true;
    fileMap_ = map;
  }
  void SetControlBlock(ControlBlock block, std::uint32_t count, std::uint64_t duration, std::uint32_t messages) {
    blockCount_[block] = count;
    blockDuration_[block] = duration;
    blockMessages_[block] = messages;
  }
  TempoMap& MutableTempos() { return tempoMap_; }
  // The map LSB in force for this song: the forced map, else the map the per-file lookup found.
  std::uint8_t MapLsb() const;

 private:
  struct SysExSpan {
    std::size_t offset;
    std::uint32_t length;
  };
  StreamEvent& Slot(std::uint32_t index);

  SongSettings settings_;
  std::unique_ptr<StreamEvent[]> table_;
  std::uint32_t eventCount_ = 0;
  std::vector<std::uint8_t> sysexBytes_;
  std::vector<SysExSpan> sysexSpans_;
  bool fileMapKnown_ = false;
  std::uint32_t fileMap_ = 0;
  std::array<std::array<std::uint32_t, 16>, 2> rhythmPart_{};
  std::array<std::uint32_t, kControlBlockCount> blockCount_{};
  std::array<std::uint64_t, kControlBlockCount> blockDuration_{};
  std::array<std::uint32_t, kControlBlockCount> blockMessages_{};
  TempoMap tempoMap_;
};

// The map LSB (1 SC-55, 2 SC-88, 3 SC-88Pro) of a "Force Map" value, whose numbering follows
// the order of the map dialog (1 SC-88Pro, 2 SC-88, 3 SC-55); 0 for none or unknown values.
std::uint8_t ForceMapToMapLsb(int forceMap);

}  // namespace velvasto
