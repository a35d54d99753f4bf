#include "song/control_blocks.h"

#include <array>
#include <cstddef>

#include "song/control_files.h"

namespace velvasto {

namespace {

// An address a1 a2 a3 as one number in 7-bit arithmetic: a1 × 128² + a2 × 128 + a3.
using Address = std::uint32_t;
constexpr Address MakeAddress(std::uint32_t a1, std::uint32_t a2, std::uint32_t a3) {
  return a1 << 14 | a2 << 7 | a3;
}

constexpr std::uint8_t kModelCm64 = 0x16;
constexpr std::uint8_t kModelGs = 0x42;
constexpr std::size_t kLongestData = 256;

// Builds one data set at a time and hands it to the sink.
class DataSetWriter {
 public:
  DataSetWriter(ControlMessageSink& sink, std::uint8_t model) : sink_(sink), model_(model) {}

  void Begin(Address address) {
    size_ = 0;
    sum_ = 0;
    for (const std::uint8_t byte : {std::uint8_t{0xF0}, std::uint8_t{0x41}, std::uint8_t{0x10}, model_,
                                    std::uint8_t{0x12}}) {
      buffer_[size_++] = byte;
    }
    Put(static_cast<std::uint8_t>(address >> 14));
    Put(static_cast<std::uint8_t>(address >> 7));
    Put(static_cast<std::uint8_t>(address));
  }
  // One address or data byte; its top bit is cleared.
  void Put(std::uint8_t byte) {
    byte &= 0x7F;
    buffer_[size_++] = byte;
    sum_ = static_cast<std::uint8_t>(sum_ + byte);
  }
  void Send() {
    buffer_[size_++] = static_cast<std::uint8_t>((0u - sum_) & 0x7F);
    buffer_[size_++] = 0xF7;
    sink_.SysEx(std::span(buffer_).first(size_));
  }
  void Send(Address address, std::span<const std::uint8_t> data) {
    Begin(address);
    for (const std::uint8_t byte : data) Put(byte);
    Send();
  }

 private:
  ControlMessageSink& sink_;
  std::uint8_t model_;
  std::array<std::uint8_t, 10 + kLongestData> buffer_{};
  std::size_t size_ = 0;
  std::uint8_t sum_ = 0;
};

// A run of CM6 data sets: `count` messages of `length` bytes, the n-th sent to address + n ×
// addressStep with the bytes at offset + n × length of the file.
struct Cm6Run {
  Address address;
  std::uint32_t length;
  std::uint32_t offset;
  std::uint32_t count;
  std::uint32_t addressStep;
};

constexpr Cm6Run kCm6Runs[] = {
    {MakeAddress(0x10, 0x00, 0x00), 23, 0x0080, 1, 0},     // LA system area
    {MakeAddress(0x08, 0x00, 0x00), 256, 0x0E34, 64, 256},  // timbre memory 1 to 64
    {MakeAddress(0x03, 0x01, 0x10), 256, 0x0130, 1, 0},    // rhythm set-up, first part
    {MakeAddress(0x03, 0x03, 0x10), 84, 0x0230, 1, 0},     // rhythm set-up, rest
    {MakeAddress(0x03, 0x00, 0x00), 144, 0x00A0, 1, 0},    // patch temporary area
    {MakeAddress(0x04, 0x00, 0x00), 246, 0x0284, 8, 246},  // timbre temporary area
    {MakeAddress(0x05, 0x00, 0x00), 128, 0x0A34, 8, 128},  // patch memory
    {MakeAddress(0x50, 0x00, 0x00), 189, 0x4E34, 1, 0},    // PCM patch temporary area
    {MakeAddress(0x51, 0x00, 0x00), 152, 0x4EB2, 16, 152},  // PCM patch memory
    {MakeAddress(0x52, 0x00, 0x00), 17, 0x5832, 1, 0},     // PCM system area
};

// GSD file layout.
constexpr std::size_t kMasterVolume = 0x024;
constexpr std::size_t kMasterPan = 0x026;  // sent to 40 00 06
constexpr std::size_t kReverb = 0x027;
constexpr std::size_t kReverbSize = 7;
constexpr std::size_t kChorus = 0x02E;
constexpr std::size_t kChorusSize = 8;
constexpr std::size_t kParts = 0x036;
constexpr std::size_t kPartCount = 16;
constexpr std::size_t kPartSize = 122;
constexpr std::size_t kDrumSetups[] = {0x7D6, 0x922};
constexpr std::size_t kFineTuning = 0xA6E;  // 14-bit, low byte first
constexpr std::size_t kCoarseTuning = 0xA70;

// A part record holds the GS part parameters in the order of their addresses in the module
// (p is the part's block: 0 for part 10, 1 to 9 for parts 1 to 9, A to F for parts 11 to 16):
//   0x00        tone number: bank select MSB               (40 1p 00)
//   0x01        tone number: program                       (40 1p 01)
//   0x02        receive channel                            (40 1p 02)
//   0x03..0x12  receive switches: pitch bend, channel pressure, program change, control change,
//               polyphonic pressure, note message, RPN, NRPN, modulation, volume, panpot,
//               expression, hold 1, portamento, sostenuto, soft   (40 1p 03..12)
//   0x13        mono/poly mode, 0x14 assign mode, 0x15 use for rhythm part (40 1p 13..15)
//   0x16        pitch key shift                            (40 1p 16)
//   0x17, 0x18  pitch offset fine, high and low 4 bits     (40 1p 17, 18)
//   0x19        part level (volume)                        (40 1p 19)
//   0x1A, 0x1B  velocity sense depth and offset            (40 1p 1A, 1B)
//   0x1C        part panpot                                (40 1p 1C)
//   0x1D, 0x1E  key range low and high                     (40 1p 1D, 1E)
//   0x1F, 0x20  CC1 and CC2 controller numbers             (40 1p 1F, 20)
//   0x21        chorus send level                          (40 1p 21)
//   0x22        reverb send level                          (40 1p 22)
//   0x23..0x2A  tone modify: vibrato rate, vibrato depth, TVF cutoff, TVF resonance, envelope
//               attack, decay, release, vibrato delay      (40 1p 30..37)
//   0x2B..0x36  scale tuning C to B                        (40 1p 40..4B)
//   0x37..0x78  controller set-ups MOD, BEND, CAf, PAf, CC1, CC2, 11 bytes each: pitch control,
//               TVF cutoff control, amplitude control, LFO1 rate, LFO1 pitch depth, LFO1 TVF
//               depth, LFO1 TVA depth, LFO2 rate, LFO2 pitch depth, LFO2 TVF depth, LFO2 TVA
//               depth                                      (40 2p 00..0A, 10..1A, .. 50..5A)
//   0x79        voice reserve                              (the part's byte of 40 01 10..1F)
constexpr std::size_t kPartBank = 0x00;
constexpr std::size_t kPartProgram = 0x01;
constexpr std::size_t kPartReceiveChannel = 0x02;
constexpr std::size_t kPartReceiveSwitches = 0x03;
constexpr std::size_t kPartMonoPoly = 0x13;
constexpr std::size_t kPartPitchFine = 0x17;
constexpr std::size_t kPartLevel = 0x19;
constexpr std::size_t kPartPan = 0x1C;
constexpr std::size_t kPartChorus = 0x21;
constexpr std::size_t kPartReverb = 0x22;
constexpr std::size_t kPartControllers = 0x37;
constexpr std::size_t kPartVoiceReserve = 0x79;
constexpr std::size_t kControllerSetSize = 33;  // three controller set-ups of 11 bytes

// The module's bulk form of a part: a window of 0xE0 address units at 48 xx xx, the part of
// block 0 (part 10) lowest, each parameter as two bytes, its high and low 4 bits. The window
// holds the parameters in the order of the part record, with the 16 receive switches packed
// into two bytes (bit 7 first) and the two halves of the pitch offset fine joined into one
// byte; the voice reserve goes in the message of its own at the end of the block. It is sent as
// three messages:
//   window + 0x00: 20 part parameters, tone modify, scale tuning  (40 bytes, 80 bytes sent)
//   window + 0x50: controller set-ups MOD, BEND, CAf              (33 bytes, 66 bytes sent)
//   window + 0x92: controller set-ups PAf, CC1, CC2               (33 bytes, 66 bytes sent)
constexpr Address kBulkPartBase = MakeAddress(0x48, 0x01, 0x10);
constexpr Address kBulkPartWindow = 0xE0;
constexpr Address kBulkControllers1 = 0x50;
constexpr Address kBulkControllers2 = 0x92;
constexpr Address kVoiceReserve = MakeAddress(0x40, 0x01, 0x10);

// A drum set-up record holds five tables of one byte for each of the 64 drum notes 24 to 87:
// level, assign group, panpot, reverb send level, chorus send level (offsets 0, 64, 128, 192,
// 256); the 12 bytes at offset 320 are the set-up's name, which stays in the file (the module
// shows the names of its own drum sets). Each table is one message to the GS drum set-up
// address 41 mt 18 (note 24), where m is the drum map (0 for set-up 1, 1 for set-up 2) and t the
// table (2 level .. 6 chorus): the tables of set-up 1 start at 41 02 18, those of set-up 2 at
// 41 12 18.
constexpr std::size_t kDrumTables = 5;
constexpr std::size_t kDrumNotes = 64;
constexpr std::uint8_t kFirstDrumNote = 24;
constexpr std::uint8_t kDrumMapAddress[] = {0x02, 0x12};

// The GS part block (0..15) of part 1..16.
std::size_t PartBlock(std::size_t part) { return part == 10 ? 0 : part < 10 ? part : part - 1; }

void PutNibbles(DataSetWriter& writer, std::uint8_t value) {
  writer.Put(static_cast<std::uint8_t>(value >> 4));
  writer.Put(static_cast<std::uint8_t>(value & 0x0F));
}

void SendBulkPart(DataSetWriter& writer, Address window, std::span<const std::uint8_t> part) {
  writer.Begin(window);
  PutNibbles(writer, part[kPartBank]);
  PutNibbles(writer, part[kPartProgram]);
  PutNibbles(writer, part[kPartReceiveChannel]);
  for (std::size_t half = 0; half < 2; ++half) {
    std::uint8_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      if (part[kPartReceiveSwitches + 8 * half + i] != 0) bits |= static_cast<std::uint8_t>(0x80 >> i);
    }
    PutNibbles(writer, bits);
  }
  for (std::size_t i = kPartMonoPoly; i < kPartPitchFine; ++i) PutNibbles(writer, part[i]);
  PutNibbles(writer, static_cast<std::uint8_t>((part[kPartPitchFine] & 0x0F) << 4 | (part[kPartPitchFine + 1] & 0x0F)));
  // Part level to reverb send, then tone modify and scale tuning.
  for (std::size_t i = kPartLevel; i < kPartControllers; ++i) PutNibbles(writer, part[i]);
  writer.Send();

  for (const auto& [offset, first] : {std::pair{kBulkControllers1, kPartControllers},
                                      std::pair{kBulkControllers2, kPartControllers + kControllerSetSize}}) {
    writer.Begin(window + offset);
    for (std::size_t i = first; i < first + kControllerSetSize; ++i) PutNibbles(writer, part[i]);
    writer.Send();
  }
}

}  // namespace

void WriteCm6Messages(std::span<const std::uint8_t> cm6, ControlMessageSink& sink) {
  if (cm6.size() < kCm6FileSize) return;
  DataSetWriter writer(sink, kModelCm64);
  for (const Cm6Run& run : kCm6Runs) {
    for (std::uint32_t n = 0; n < run.count; ++n) {
      writer.Send(run.address + n * run.addressStep, cm6.subspan(run.offset + n * run.length, run.length));
    }
  }
}

void WriteGsdMessages(std::span<const std::uint8_t> gsd, ControlMessageSink& sink) {
  if (gsd.size() < kGsdFileSize) return;
  auto part = [gsd](std::size_t number) { return gsd.subspan(kParts + kPartSize * (number - 1), kPartSize); };
  auto data = [](std::uint8_t byte) { return static_cast<std::uint8_t>(byte & 0x7F); };

  // Master tuning through the RPNs of every channel, then the part's tone, level and sends.
  const std::uint32_t fine = gsd[kFineTuning] + 256u * gsd[kFineTuning + 1];
  for (std::uint8_t channel = 0; channel < 16; ++channel) {
    const auto status = static_cast<std::uint8_t>(0xB0 | channel);
    const auto values = part(channel + 1u);
    sink.Short(status, 0x65, 0);
    sink.Short(status, 0x64, 1);  // master fine tuning
    sink.Short(status, 0x06, static_cast<std::uint8_t>((fine >> 7) & 0x7F));
    sink.Short(status, 0x26, static_cast<std::uint8_t>(fine & 0x7F));
    sink.Short(status, 0x64, 2);  // master coarse tuning
    sink.Short(status, 0x06, data(gsd[kCoarseTuning]));
    sink.Short(status, 0x00, data(values[kPartBank]));
    sink.Short(status, 0x20, 0);
    sink.Short(static_cast<std::uint8_t>(0xC0 | channel), data(values[kPartProgram]), 0);
    sink.Short(status, 0x07, data(values[kPartLevel]));
    sink.Short(status, 0x5B, data(values[kPartReverb]));
    sink.Short(status, 0x5D, data(values[kPartChorus]));
    sink.Short(status, 0x0A, data(values[kPartPan]));
  }

  DataSetWriter writer(sink, kModelGs);
  writer.Send(MakeAddress(0x40, 0x00, 0x04), gsd.subspan(kMasterVolume, 1));
  writer.Send(MakeAddress(0x40, 0x00, 0x06), gsd.subspan(kMasterPan, 1));
  writer.Send(MakeAddress(0x40, 0x01, 0x30), gsd.subspan(kReverb, kReverbSize));
  writer.Send(MakeAddress(0x40, 0x01, 0x38), gsd.subspan(kChorus, kChorusSize));

  std::array<std::uint8_t, kPartCount> voiceReserve{};
  for (std::size_t number = 1; number <= kPartCount; ++number) {
    const std::size_t block = PartBlock(number);
    SendBulkPart(writer, kBulkPartBase + kBulkPartWindow * static_cast<Address>(block), part(number));
    voiceReserve[block] = part(number)[kPartVoiceReserve];
  }

  for (std::size_t setup = 0; setup < 2; ++setup) {
    for (std::size_t table = 0; table < kDrumTables; ++table) {
      writer.Send(MakeAddress(0x41, kDrumMapAddress[setup] + static_cast<std::uint32_t>(table), kFirstDrumNote),
                  gsd.subspan(kDrumSetups[setup] + kDrumNotes * table, kDrumNotes));
    }
  }

  writer.Send(kVoiceReserve, voiceReserve);
}

}  // namespace velvasto
