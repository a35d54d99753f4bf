// The merge of a Standard MIDI File's tracks, shared by the counting and the filling pass.
//
// Events of the same tick are handled track by track in track order, and within a track in
// file order. A track ends at its End of Track meta event or where its data ends: an event, a
// length or a delta time cut off by the end of the track chunk ends the track there, and what
// came before it is kept. The song ends when the last track has ended.

#include <algorithm>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/map_scan.h"
#include "song/channel_converter.h"
#include "song/gs_rhythm_parts.h"
#include "song/midi_file.h"
#include "song/smf_clock.h"

namespace velvasto {

class CMIDIFile::Pass final : public ChannelMessageSink {
 public:
  Pass(CMIDIFile& file, bool fill);

  // Walks the whole song. Returns false, cutting the counting pass short, when the title scan
  // finds a map other than the one in force: the pass is then to be run again.
  bool Run();

  std::uint32_t Records() const { return index_; }
  std::uint64_t EndTime() const { return now_; }
  const std::string& Title() const { return title_; }

  // Output of the channel converter, addressed to the port of the message being converted.
  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    PutShort(status, data1, data2, port_);
  }
  void SysEx(std::span<const std::uint8_t> bytes) override { PutSysEx(bytes, port_); }

 private:
  struct Track {
    const std::uint8_t* data;
    std::uint32_t length;
    std::uint32_t offset;
    std::uint64_t nextTick;
    std::uint8_t runningStatus;
    PortId port;
    bool fixedPort;  // by the track settings file
    bool silenced;   // by the track settings file
    bool ended;
  };

  static bool ReadVarLen(Track& track, std::uint32_t& value);
  void RunTrack(std::size_t index);
  // Handles the event at the track's read offset; false when the track ends with it.
  bool HandleEvent(std::size_t index, Track& track);
  void ChannelMessage(const Track& track, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  bool SystemExclusive(Track& track, bool escape);
  bool Meta(std::size_t index, Track& track);
  void Tempo(std::uint32_t microsecondsPerQuarter);
  void TitleText(const std::uint8_t* text, std::uint32_t length);

  // With one port in use, tracks on port B send nothing.
  bool Dropped(const Track& track) const { return track.port == PortId::B && file_.PortCount() == 1; }
  PortId OutputPort(const Track& track) const { return file_.PortCount() == 2 ? track.port : PortId::A; }

  void NextIndex();
  void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, PortId port);
  void PutSysEx(std::span<const std::uint8_t> bytes, PortId port);

  CMIDIFile& file_;
  const bool fill_;
  ChannelConverter converter_;
  GsRhythmParts rhythmParts_;
  SmfClock clock_;
  std::vector<Track> tracks_;
  std::uint64_t tick_ = 0;
  std::uint64_t now_ = 0;
  std::uint32_t index_ = 0;
  PortId port_ = PortId::A;
  // Set by a sequencer-specific meta event beginning 00 00 41: from then on, channel messages
  // on MIDI channels 11 to 16 are skipped.
  bool authoringMark_ = false;
  bool titleSeen_ = false;
  bool mapChanged_ = false;
  std::string title_;
  std::vector<std::uint8_t> sysexScratch_;
};

CMIDIFile::Pass::Pass(CMIDIFile& file, bool fill)
    : file_(file),
      fill_(fill),
      converter_(file.MapLsb(), file.Settings().adjust55, file.Settings().fix8850),
      clock_(file.layout_.division) {
  rhythmParts_.Reset(file);
  if (fill_) {
    TempoMap& tempos = file.MutableTempos();
    tempos.Reset(file.layout_.division);
    tempos.AddSegment({0, 0, 0, SmfClock::kDefaultMicrosecondsPerQuarter});
  }
  tracks_.reserve(file.layout_.tracks.size());
  for (std::size_t i = 0; i < file.layout_.tracks.size(); ++i) {
    const auto data = file.layout_.tracks[i];
    const TrackSetting& setting = file.trackSettings_[i];
    Track track{data.data(), static_cast<std::uint32_t>(data.size()), 0, 0, 0, setting.port.value_or(PortId::A),
                setting.port.has_value(), setting.silenced, false};
    std::uint32_t delta = 0;
    if (!ReadVarLen(track, delta) || track.offset >= track.length) {
      track.ended = true;
    } else {
      track.nextTick = delta;
    }
    tracks_.push_back(track);
  }
}

bool CMIDIFile::Pass::ReadVarLen(Track& track, std::uint32_t& value) {
  std::uint32_t result = 0;
  for (int i = 0; i < 4; ++i) {
    if (track.offset >= track.length) return false;
    const std::uint8_t byte = track.data[track.offset++];
    result = result << 7 | (byte & 0x7F);
    if ((byte & 0x80) == 0) break;
  }
  value = result;
  return true;
}

bool CMIDIFile::Pass::Run() {
  for (;;) {
    now_ = clock_.Now();
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
      if (!tracks_[i].ended && tracks_[i].nextTick == tick_) RunTrack(i);
      if (mapChanged_) return false;
    }
    std::uint64_t next = UINT64_MAX;
    for (const Track& track : tracks_) {
      if (!track.ended) next = std::min(next, track.nextTick);
    }
    if (next == UINT64_MAX) break;
    clock_.Advance(next - tick_);
    tick_ = next;
  }
  NextIndex();
  if (fill_) file_.SetShortEvent(index_ - 1, kStatusEnd, now_, 0, 0, 0, PortId::None);
  return true;
}

void CMIDIFile::Pass::RunTrack(std::size_t index) {
  Track& track = tracks_[index];
  for (;;) {
    if (!HandleEvent(index, track) || track.offset >= track.length) {
      track.ended = true;
      return;
    }
    std::uint32_t delta = 0;
    if (!ReadVarLen(track, delta) || track.offset >= track.length) {
      track.ended = true;
      return;
    }
    track.nextTick = tick_ + delta;
    if (delta != 0 || mapChanged_) return;
  }
}

bool CMIDIFile::Pass::HandleEvent(std::size_t index, Track& track) {
  const std::uint8_t first = track.data[track.offset];
  std::uint8_t status;
  if (first < 0x80) {
    if (track.runningStatus == 0) throw CErrMessage(errc::kSmfRunningStatus);
    status = track.runningStatus;
  } else if (first < 0xF0) {
    status = first;
    track.runningStatus = first;
    ++track.offset;
  } else if (first == 0xF0 || first == 0xF7) {
    ++track.offset;
    return SystemExclusive(track, first == 0xF7);
  } else if (first == 0xFF) {
    ++track.offset;
    return Meta(index, track);
  } else {
    // System common and real-time bytes have no place in a file: the length of what follows
    // is unknown.
    throw CErrMessage(errc::kBadFileFormat);
  }
  // Program change and channel pressure carry one data byte, the others two.
  const std::uint32_t dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;
  if (track.length - track.offset < dataBytes) return false;
  const auto data1 = static_cast<std::uint8_t>(track.data[track.offset] & 0x7F);
  const auto data2 = dataBytes == 2 ? static_cast<std::uint8_t>(track.data[track.offset + 1] & 0x7F) : std::uint8_t{0};
  track.offset += dataBytes;
  ChannelMessage(track, status, data1, data2);
  return true;
}

void CMIDIFile::Pass::ChannelMessage(const Track& track, std::uint8_t status, std::uint8_t data1,
                                     std::uint8_t data2) {
  if (track.silenced || Dropped(track)) return;
  const auto channel = static_cast<std::uint8_t>(status & 0x0F);
  if (authoringMark_ && channel > 9) return;
  port_ = OutputPort(track);
  switch (status & 0xF0) {
    case 0x90:
      if (data2 != 0) converter_.BeforeNote(port_, channel, *this);
      break;
    case 0xB0:
      converter_.ControlChange(port_, channel, data1, data2,
                               DrumPitchMapByte(rhythmParts_.OfChannel(port_, channel)), *this);
      return;
    case 0xC0:
      converter_.ProgramChange(port_, channel, data1, *this);
      return;
    default:
      break;
  }
  PutShort(status, data1, data2, port_);
}

bool CMIDIFile::Pass::SystemExclusive(Track& track, bool escape) {
  std::uint32_t length = 0;
  if (!ReadVarLen(track, length) || length > track.length - track.offset) return false;
  const std::uint8_t* body = track.data + track.offset;
  track.offset += length;
  if (Dropped(track)) return true;
  const PortId port = OutputPort(track);
  if (escape) {
    // An escape is sent as it stands; an empty one sends nothing.
    if (length == 0) return true;
    const std::span<const std::uint8_t> message(body, length);
    rhythmParts_.Observe(port, message);
    PutSysEx(message, port);
    return true;
  }
  // The record begins with the F0 that the file keeps apart from its length. The counting pass
  // needs the bytes only of messages the rhythm-part tracker can recognise.
  if (fill_ || length == 10) {
    sysexScratch_.assign(1, 0xF0);
    sysexScratch_.insert(sysexScratch_.end(), body, body + length);
    rhythmParts_.Observe(port, sysexScratch_);
    PutSysEx(sysexScratch_, port);
  } else {
    NextIndex();
  }
  return true;
}

bool CMIDIFile::Pass::Meta(std::size_t index, Track& track) {
  if (track.offset >= track.length) return false;
  const std::uint8_t type = track.data[track.offset++];
  std::uint32_t length = 0;
  if (!ReadVarLen(track, length) || length > track.length - track.offset) return false;
  const std::uint8_t* data = track.data + track.offset;
  track.offset += length;
  switch (type) {
    case 0x01:  // text
    case 0x03:  // track name
      if (index == 0 && !titleSeen_) TitleText(data, length);
      break;
    case 0x21:  // MIDI port
      if (length >= 1 && !track.fixedPort) track.port = data[0] != 0 ? PortId::B : PortId::A;
      break;
    case 0x2F:  // end of track
      return false;
    case 0x51:  // set tempo
      if (length >= 3) Tempo(static_cast<std::uint32_t>(data[0]) << 16 | static_cast<std::uint32_t>(data[1]) << 8 | data[2]);
      break;
    case 0x58:  // time signature
      if (fill_ && length >= 2) file_.MutableTempos().AddMeter({tick_, data[0], data[1]});
      break;
    case 0x7F:  // sequencer specific
      if (length >= 3 && data[0] == 0x00 && data[1] == 0x00 && data[2] == 0x41) authoringMark_ = true;
      break;
    default:
      break;
  }
  return true;
}

void CMIDIFile::Pass::Tempo(std::uint32_t microsecondsPerQuarter) {
  // A tempo of 0 would stop time; it is ignored and the tempo in force stays.
  if (microsecondsPerQuarter == 0) return;
  clock_.SetTempo(microsecondsPerQuarter);
  if (fill_) {
    file_.MutableTempos().AddSegment({tick_, clock_.WholeUs(), clock_.FractionUs(),
                                      static_cast<double>(microsecondsPerQuarter)});
  }
  // The record carries whole beats per minute for the displays (16 bits).
  const std::uint32_t bpm = std::min<std::uint32_t>(60'000'000u / microsecondsPerQuarter, 0xFFFF);
  NextIndex();
  if (fill_) {
    file_.SetShortEvent(index_ - 1, kStatusTempo, now_, static_cast<std::uint8_t>(bpm),
                        static_cast<std::uint8_t>(bpm >> 8), 0, PortId::None);
  }
}

void CMIDIFile::Pass::TitleText(const std::uint8_t* text, std::uint32_t length) {
  titleSeen_ = true;
  title_.assign(reinterpret_cast<const char*>(text), length);
  const SongSettings& settings = file_.Settings();
  if (settings.mapMode != 1) return;
  const std::uint32_t map = MapScan(title_, settings.sc55Scan, settings.sc88Scan, settings.sc88ProScan);
  if (map == 0 || (file_.FileMapKnown() && file_.FileMap() == map)) return;
  file_.SetFileMap(map);
  mapChanged_ = true;
}

void CMIDIFile::Pass::NextIndex() {
  if (index_ >= kMaxEvents) throw CErrMessage(errc::kOutOfMemory);
  ++index_;
}

void CMIDIFile::Pass::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, PortId port) {
  NextIndex();
  if (fill_) file_.SetShortEvent(index_ - 1, status, now_, status, data1, data2, port);
}

void CMIDIFile::Pass::PutSysEx(std::span<const std::uint8_t> bytes, PortId port) {
  NextIndex();
  if (fill_) file_.SetSysExEvent(index_ - 1, now_, bytes.data(), bytes.size(), port);
}

bool CMIDIFile::CountPass() {
  Pass pass(*this, false);
  const bool complete = pass.Run();
  countedRecords_ = pass.Records();
  title_ = pass.Title();
  return complete;
}

void CMIDIFile::FillPass() {
  Pass pass(*this, true);
  pass.Run();
  endTime_ = pass.EndTime();
}

}  // namespace velvasto
