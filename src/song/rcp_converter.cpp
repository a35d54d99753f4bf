#include "song/rcp_converter.h"

#include <algorithm>
#include <bit>

#include "core/errors.h"
#include "song/rcp_exclusive.h"
#include "song/rcp_file.h"

namespace velvasto {

namespace {

constexpr std::array<std::uint8_t, 11> kRolandTemplate = {0xF0, 0x41, 0x10, 0x16, 0x12, 0x10,
                                                          0x00, 0x00, 0x00, 0x00, 0xF7};
constexpr std::array<std::uint8_t, 10> kYamahaTemplate = {0xF0, 0x43, 0x10, 0x4C, 0x00,
                                                          0x00, 0x00, 0x00, 0xF7, 0xF7};
constexpr std::uint8_t kChannelOff = 255;
// SC-8850 drum-pitch exclusive messages of RCP songs address drum map 1.
constexpr std::uint8_t kDrumMap1 = 0x01;

PortId PortIdOf(std::uint8_t port) { return port == 0 ? PortId::A : PortId::B; }

std::uint32_t LoopLimitOf(int setting) { return setting < 1 ? 1u : static_cast<std::uint32_t>(setting); }

}  // namespace

RcpConverter::RcpConverter(CRCPFile& file, bool fill)
    : file_(file),
      song_(file.song_),
      fill_(fill),
      portCount_(file.PortCount()),
      loopLimit_(LoopLimitOf(file.Settings().rcpLoopLimit)),
      limits_(file.limits_),
      channels_(file.MapLsb(), file.Settings().adjust55, file.Settings().fix8850),
      clock_(song_.tempo, song_.timeBase),
      tracks_(song_.trackCount) {
  exclusive_.reserve(64);
}

void RcpConverter::InitTracks() {
  int earliest = 0;
  for (std::size_t t = 0; t < tracks_.size(); ++t) earliest = std::min<int>(earliest, song_.tracks[t].stepShift);
  for (std::size_t t = 0; t < tracks_.size(); ++t) {
    const RcpTrack& source = song_.tracks[t];
    TrackState& track = tracks_[t];
    track.due = static_cast<std::uint64_t>(source.stepShift - earliest);
    if (source.channel == kChannelOff) {
      track.channel = kChannelOff;
      track.port = 1;
    } else {
      track.channel = source.channel & 0x0F;
      track.port = (source.channel >> 4) & 1;
    }
    track.roland = kRolandTemplate;
    track.yamaha = kYamahaTemplate;
    if (source.mode == 1) Finish(track);
  }
}

void RcpConverter::Run() {
  notes_.Clear();
  InitTracks();
  EmitTempo();
  if (fill_) {
    TempoMap& tempos = file_.MutableTempos();
    tempos.Reset(song_.timeBase);
    RecordTempo(0);
    if (const int power = std::countr_zero(song_.beatDenominator);
        song_.beatNumerator != 0 && song_.beatNumerator < 256 && std::has_single_bit(song_.beatDenominator) &&
        power < 8) {
      tempos.AddMeter({0, static_cast<std::uint8_t>(song_.beatNumerator), static_cast<std::uint8_t>(power)});
    }
  }
  // The control blocks move the clock but not the tick: the song's first tick follows them.
  WriteControlBlocks();
  if (fill_) {
    file_.MutableTempos().SetSongStartTick(blockTicks_);
    RecordTempo(0);
  }
  if (finishedTracks_ == tracks_.size()) {
    EmitEnd();
    return;
  }
  std::uint64_t tick = 0;
  for (;;) {
    notes_.ReleaseDue(tick, [this](const NoteTable::Note& note) {
      EmitShort(note.port, static_cast<std::uint8_t>(0x90 | note.channel), note.note, 0);
    });
    std::uint64_t next = UINT64_MAX;
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
      TrackState& track = tracks_[t];
      if (track.finished) continue;
      if (track.due <= tick) {
        RunTrack(t, tick);
        if (finishedTracks_ == tracks_.size()) {
          EmitEnd();
          return;
        }
        if (track.finished) continue;
      }
      next = std::min(next, track.due);
    }
    next = std::min(next, notes_.NextRelease());
    clock_.AdvanceTicks(next - tick);
    if (clock_.Time() > limits_.maxSongTimeUs) ThrowDamaged();
    tick = next;
  }
}

void RcpConverter::RunTrack(std::size_t t, std::uint64_t tick) {
  TrackState& track = tracks_[t];
  const std::vector<RcpRecord>& records = song_.tracks[t].records;
  while (!track.finished && track.due <= tick) {
    if (track.index >= records.size() || ++commands_ > limits_.maxCommands) ThrowDamaged();
    const RcpRecord& record = records[track.index++];
    if (Execute(t, record, tick)) track.due = tick + record.step;
  }
}

bool RcpConverter::Execute(std::size_t t, const RcpRecord& record, std::uint64_t tick) {
  TrackState& track = tracks_[t];
  const std::uint8_t command = record.command;
  if (command < 0x80) {
    NoteOn(t, command, record.gate, record.data2, tick);
    return true;
  }
  switch (command) {
    case 0x90: case 0x91: case 0x92: case 0x93: case 0x94: case 0x95: case 0x96: case 0x97:
      SendUserExclusive(track, command - 0x90u, record);
      return true;
    case 0x98:
      SendTrackExclusive(t, record);
      return true;
    case 0xD0:  // Yamaha base address
      track.yamaha[4] = record.data1;
      track.yamaha[5] = record.data2;
      return true;
    case 0xD1:  // Yamaha parameter with checksum
      track.yamaha[6] = record.data1;
      track.yamaha[7] = record.data2;
      track.yamaha[8] = RolandChecksum(std::span(track.yamaha).subspan(4, 4));
      track.yamaha[9] = 0xF7;
      EmitSysEx(track.port, track.yamaha);
      return true;
    case 0xD2:  // Yamaha device
      track.yamaha[2] = record.data1;
      track.yamaha[3] = record.data2;
      return true;
    case 0xD3:  // Yamaha parameter without checksum
      track.yamaha[6] = record.data1;
      track.yamaha[7] = record.data2;
      track.yamaha[8] = 0xF7;
      EmitSysEx(track.port, std::span(track.yamaha).first(9));
      return true;
    case 0xDD:  // Roland base address
      track.roland[5] = record.data1;
      track.roland[6] = record.data2;
      return true;
    case 0xDE:  // Roland parameter
      track.roland[7] = record.data1;
      track.roland[8] = record.data2;
      track.roland[9] = RolandChecksum(std::span(track.roland).subspan(5, 4));
      EmitSysEx(track.port, track.roland);
      return true;
    case 0xDF:  // Roland device
      track.roland[2] = record.data1;
      track.roland[3] = record.data2;
      return true;
    case 0xE5:  // key scan
      return true;
    case 0xE6: {  // MIDI channel: 1..16 port A, 17..32 port B
      const auto value = static_cast<std::uint8_t>(record.data1 - 1);
      track.channel = value & 0x0F;
      track.port = (value >> 4) & 1;
      return true;
    }
    case 0xE7:  // tempo, as a ratio of the header tempo (64 = 1)
      clock_.SetTempo(record.data1 * song_.tempo / 64);
      EmitTempo();
      RecordTempo(tick);
      return true;
    case 0xF8:
      LoopEnd(track, record);
      return false;
    case 0xF9:
      LoopStart(track);
      return false;
    case 0xFC:
      SameMeasure(t, record);
      return false;
    case 0xFD:
      MeasureEnd(track);
      return false;
    case 0xFE:
    case 0xFF:
      Finish(track);
      return false;
    default:
      return ExecuteChannelCommand(track, record);
  }
}

bool RcpConverter::ExecuteChannelCommand(TrackState& track, const RcpRecord& record) {
  const std::uint8_t command = record.command;
  const bool takesStep = (command >= 0xEA && command <= 0xEE) || command == 0xE2 ||
                         (command == 0xE1 && song_.layout.wideRecords);
  if (!takesStep || track.channel == kChannelOff) return takesStep;
  const std::uint8_t channel = track.channel;
  const PortId port = PortIdOf(track.port);
  currentPort_ = track.port;
  switch (command) {
    case 0xE1:  // bank select LSB and program (G36)
      channels_.ControlChange(port, channel, 0x20, record.data2, std::nullopt, *this);
      EmitShort(track.port, static_cast<std::uint8_t>(0xC0 | channel), record.data1, 0);
      break;
    case 0xE2:  // bank select MSB and program
      channels_.BankAndProgram(port, channel, record.data2, record.data1, *this);
      break;
    case 0xEA:
      EmitShort(track.port, static_cast<std::uint8_t>(0xD0 | channel), record.data1, 0);
      break;
    case 0xEB:
      channels_.ControlChange(port, channel, record.data1, record.data2, kDrumMap1, *this);
      break;
    case 0xEC:
      channels_.ProgramChange(port, channel, record.data1, *this);
      break;
    case 0xED:
      EmitShort(track.port, static_cast<std::uint8_t>(0xA0 | channel), record.data1, record.data2);
      break;
    case 0xEE:
      EmitShort(track.port, static_cast<std::uint8_t>(0xE0 | channel), record.data1, record.data2);
      break;
    default:
      break;
  }
  return true;
}

void RcpConverter::NoteOn(std::size_t t, std::uint8_t note, std::uint16_t gate, std::uint8_t velocity,
                          std::uint64_t tick) {
  TrackState& track = tracks_[t];
  if (gate == 0 || velocity == 0 || track.channel == kChannelOff) return;
  const std::uint8_t key = song_.tracks[t].key;
  if ((key & 0x80) == 0) note = static_cast<std::uint8_t>((note + song_.playBias + key) & 0x7F);
  const NoteTable::Note sounding{tick + gate, static_cast<std::uint16_t>(t), track.port, track.channel, note};
  if (notes_.Start(sounding) != NoteTable::Strike::Started) return;
  currentPort_ = track.port;
  channels_.BeforeNote(PortIdOf(track.port), track.channel, *this);
  EmitShort(track.port, static_cast<std::uint8_t>(0x90 | track.channel), note, velocity);
}

void RcpConverter::SendUserExclusive(const TrackState& track, std::size_t pattern, const RcpRecord& record) {
  const auto& bytes = song_.userExclusives[pattern];
  BuildUserExclusive(std::span(bytes).first(song_.userExclusiveSize), record.data1, record.data2,
                     track.channel & 0x0F, exclusive_);
  EmitSysEx(track.port, exclusive_);
}

void RcpConverter::SendTrackExclusive(std::size_t t, const RcpRecord& record) {
  const TrackState& track = tracks_[t];
  const std::vector<RcpRecord>& records = song_.tracks[t].records;
  ExclusiveWriter writer(exclusive_, record.data1, record.data2, track.channel & 0x0F);
  for (std::size_t i = track.index; i < records.size() && records[i].command == 0xF7; ++i) {
    const RcpRecord& more = records[i];
    bool open = true;
    if (song_.layout.wideRecords) {
      const std::uint8_t bytes[] = {more.data2, static_cast<std::uint8_t>(more.step),
                                    static_cast<std::uint8_t>(more.step >> 8), static_cast<std::uint8_t>(more.gate),
                                    static_cast<std::uint8_t>(more.gate >> 8)};
      for (const std::uint8_t byte : bytes) open = open && writer.Put(byte);
    } else {
      open = writer.Put(more.data1) && writer.Put(more.data2);
    }
    if (!open) break;
  }
  writer.Finish();
  EmitSysEx(track.port, exclusive_);
}

void RcpConverter::Finish(TrackState& track) {
  track.finished = true;
  ++finishedTracks_;
}

void RcpConverter::ThrowDamaged() const { throw CErrMessage(song_.layout.damagedError); }

void RcpConverter::NextRecord() {
  if (writeIndex_ >= limits_.maxRecords) throw CErrMessage(errc::kOutOfMemory);
}

void RcpConverter::EmitShort(std::uint8_t port, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  if (port != 0 && portCount_ != 2) return;
  NextRecord();
  if (fill_) file_.SetShortEvent(writeIndex_, status, clock_.Time(), status, data1, data2, PortIdOf(port));
  ++writeIndex_;
}

void RcpConverter::EmitSysEx(std::uint8_t port, std::span<const std::uint8_t> bytes) {
  if (port != 0 && portCount_ != 2) return;
  NextRecord();
  if (fill_) file_.SetSysExEvent(writeIndex_, clock_.Time(), bytes.data(), bytes.size(), PortIdOf(port));
  ++writeIndex_;
}

void RcpConverter::EmitTempo() {
  // The record carries whole beats per minute for the displays, at most 16 bits of them.
  const std::uint32_t tempo = std::min<std::uint32_t>(clock_.Tempo(), 0xFFFF);
  NextRecord();
  if (fill_) {
    file_.SetShortEvent(writeIndex_, kStatusTempo, clock_.Time(), static_cast<std::uint8_t>(tempo),
                        static_cast<std::uint8_t>(tempo >> 8), 0, PortId::None);
  }
  ++writeIndex_;
}

void RcpConverter::EmitMarker(std::uint8_t port, std::uint32_t subtype) {
  NextRecord();
  if (fill_) {
    file_.SetShortEvent(writeIndex_, kStatusMarker, clock_.Time(), static_cast<std::uint8_t>(subtype), 0, 0,
                        PortIdOf(port));
  }
  ++writeIndex_;
}

void RcpConverter::RecordTempo(std::uint64_t tick) {
  if (!fill_) return;
  const std::uint32_t tempo = clock_.Tempo();
  file_.MutableTempos().AddSegment({blockTicks_ + tick, clock_.Time(), clock_.Fraction(),
                                    tempo == 0 ? 0.0 : 60'000'000.0 / tempo});
}

void RcpConverter::EmitEnd() {
  NextRecord();
  if (fill_) file_.SetShortEvent(writeIndex_, kStatusEnd, clock_.Time(), 0, 0, 0, PortId::A);
  ++writeIndex_;
}

void RcpConverter::Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  EmitShort(currentPort_, status, data1, data2);
}

void RcpConverter::SysEx(std::span<const std::uint8_t> bytes) { EmitSysEx(currentPort_, bytes); }

}  // namespace velvasto
