#pragma once
// Builds the bytes of Recomposer song files in code, so that a test shows the commands it
// feeds to the readers: RcpBuilder for the version 2 layout (.rcp/.r36, 4-byte records) and
// G36Builder for the version 3 layout (.g36/.g18, 6-byte records). Tracks of both layouts
// take the same commands; each writes them in its own record form.

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

namespace velvasto::test {

using Bytes = std::vector<std::uint8_t>;

enum class RecomposerLayout { Rcp, G36 };

class RecomposerTrack {
 public:
  explicit RecomposerTrack(RecomposerLayout layout) : layout_(layout) {}

  // Track header fields (defaults: channel 0 on port A, key 0, no shift, mode 0 = played).
  RecomposerTrack& Channel(std::uint8_t channelByte) { return Set(channel_, channelByte); }
  RecomposerTrack& Key(std::uint8_t key) { return Set(key_, key); }
  RecomposerTrack& StepShift(std::int8_t shift) { return Set(stepShift_, static_cast<std::uint8_t>(shift)); }
  RecomposerTrack& Mode(std::uint8_t mode) { return Set(mode_, mode); }
  // Writes `size` as the track's size field instead of the true size.
  RecomposerTrack& DeclareSize(std::uint32_t size) { return Set(declaredSize_, size); }

  // Any command with its two data bytes (RCP bytes 2, 3; G36 bytes 4, 1).
  RecomposerTrack& Command(std::uint8_t command, std::uint16_t step, std::uint8_t data1 = 0, std::uint8_t data2 = 0) {
    records_.push_back({command, step, data1, data2, 0});
    return *this;
  }
  RecomposerTrack& Note(std::uint16_t step, std::uint8_t note, std::uint16_t gate, std::uint8_t velocity) {
    records_.push_back({note, step, static_cast<std::uint8_t>(gate), velocity, static_cast<std::uint8_t>(gate >> 8)});
    return *this;
  }
  // A step without sound (a note of velocity 0).
  RecomposerTrack& Rest(std::uint16_t step) { return Note(step, 0, 0, 0); }
  RecomposerTrack& Control(std::uint16_t step, std::uint8_t controller, std::uint8_t value) {
    return Command(0xEB, step, controller, value);
  }
  RecomposerTrack& Program(std::uint16_t step, std::uint8_t program) { return Command(0xEC, step, program); }
  RecomposerTrack& BankProgram(std::uint16_t step, std::uint8_t bankMsb, std::uint8_t program) {
    return Command(0xE2, step, program, bankMsb);
  }
  // Tempo as a ratio of the header tempo: 64 keeps it.
  RecomposerTrack& Tempo(std::uint16_t step, std::uint8_t ratio) { return Command(0xE7, step, ratio); }
  // MIDI channel command: 1..16 port A, 17..32 port B.
  RecomposerTrack& MidiChannel(std::uint16_t step, std::uint8_t value) { return Command(0xE6, step, value); }
  RecomposerTrack& UserExclusive(std::uint8_t number, std::uint16_t step, std::uint8_t value1, std::uint8_t value2) {
    return Command(static_cast<std::uint8_t>(0x90 + number), step, value1, value2);
  }
  // 0x98 with its values, then as many 0xF7 records as `bytes` needs (2 bytes a record in RCP
  // files, 5 in G36 files; the last record is padded with F7).
  RecomposerTrack& TrackExclusive(std::uint16_t step, std::uint8_t value1, std::uint8_t value2,
                                  std::initializer_list<std::uint8_t> bytes);
  RecomposerTrack& LoopStart() { return Command(0xF9, 0); }
  RecomposerTrack& LoopEnd(std::uint8_t count) { return Command(0xF8, count); }
  RecomposerTrack& MeasureEnd() { return Command(0xFD, 0); }
  // A same-measure reference. RCP: to the measure starting at record `reference`; G36: to
  // measure number `reference` of the track's measure table.
  RecomposerTrack& SameMeasure(std::uint16_t reference);
  RecomposerTrack& End() { return Command(0xFE, 0); }

  std::size_t RecordCount() const { return records_.size(); }
  Bytes Build() const;

 private:
  // One record: the command, its step, its data bytes and, for G36 notes, the gate's high byte.
  struct Record {
    std::uint8_t command;
    std::uint16_t step;
    std::uint8_t data1, data2, gateHigh;
  };
  template <typename Field, typename Value>
  RecomposerTrack& Set(Field& field, Value value) {
    field = value;
    return *this;
  }

  RecomposerLayout layout_;
  std::uint8_t channel_ = 0, key_ = 0, stepShift_ = 0, mode_ = 0;
  std::int64_t declaredSize_ = -1;
  std::vector<Record> records_;
};

// Header fields shared by both layouts (every field has a default, so that a test may set a
// few of them by designated initializers).
struct RecomposerHeader {
  std::string title{};
  std::string memo{};
  std::uint16_t timeBase = 48;
  std::uint16_t tempo = 120;
  std::uint8_t beatNumerator = 4;
  std::uint8_t beatDenominator = 4;
  std::uint8_t key = 0;
  std::int8_t playBias = 0;
  std::string cm6Name{};
  std::string gsdName{};
  std::string gsd2Name{};  // G36 only
  // The track-count byte; by default the number of tracks added.
  int trackCountByte = -1;
  // User exclusive templates 1 to 8 (RCP: 24 bytes used, G36: 25; unset bytes are 0).
  std::array<std::vector<std::uint8_t>, 8> userExclusives{};
};

template <RecomposerLayout kLayout>
class RecomposerBuilder {
 public:
  RecomposerHeader header;
  // Bytes after the tracks: G36 files end in a block tagged "RCFW".
  Bytes trailer;

  // The reference stays valid while the builder lives.
  RecomposerTrack& AddTrack() { return tracks_.emplace_back(kLayout); }
  // Magic, header and user exclusives, with no track.
  Bytes BuildHeader() const;
  Bytes Build() const {
    Bytes out = BuildHeader();
    for (const RecomposerTrack& track : tracks_) {
      const Bytes bytes = track.Build();
      out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
  }

 private:
  std::deque<RecomposerTrack> tracks_;
};

using RcpBuilder = RecomposerBuilder<RecomposerLayout::Rcp>;
using G36Builder = RecomposerBuilder<RecomposerLayout::G36>;
template <>
Bytes RcpBuilder::BuildHeader() const;
template <>
Bytes G36Builder::BuildHeader() const;

}  // namespace velvasto::test
