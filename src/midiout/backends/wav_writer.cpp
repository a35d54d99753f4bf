#include "midiout/backends/wav_writer.h"

#include <array>
#include <bit>
#include <cerrno>

#include "core/errors.h"

namespace velvasto {
namespace {

constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::uint64_t kMaxDataBytes = WavWriter::kMaxFrames * 4;
static_assert(kHeaderBytes - 8 + kMaxDataBytes <= 0xFFFFFFFFull, "the RIFF size field holds it");

void Put16(std::uint8_t*& out, std::uint16_t value) {
  *out++ = static_cast<std::uint8_t>(value);
  *out++ = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t*& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutTag(std::uint8_t*& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) *out++ = static_cast<std::uint8_t>(tag[i]);
}

[[noreturn]] void ThrowFileError() { throw CSystemErrMessage(errno != 0 ? errno : EIO); }

}  // namespace

WavWriter::WavWriter(const std::filesystem::path& path, std::uint32_t sampleRate)
    : file_(std::fopen(path.c_str(), "wb")), sampleRate_(sampleRate) {
  if (!file_) ThrowFileError();
  WriteHeader();
}

WavWriter::~WavWriter() {
  if (!file_) return;
  try {
    Finish();
  } catch (const CErrMessage&) {
    // The owner is going away; the file keeps whatever was written.
  }
}

void WavWriter::WriteHeader() {
  std::array<std::uint8_t, kHeaderBytes> header{};
  std::uint8_t* out = header.data();
  const auto dataBytes = static_cast<std::uint32_t>(dataBytes_);
  PutTag(out, "RIFF");
  Put32(out, kHeaderBytes - 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 2);  // stereo
  Put32(out, sampleRate_);
  Put32(out, sampleRate_ * 4);  // bytes a second
  Put16(out, 4);                // bytes a frame
  Put16(out, 16);               // bits a sample
  PutTag(out, "data");
  Put32(out, dataBytes);
  if (std::fseek(file_.get(), 0, SEEK_SET) != 0 || std::fwrite(header.data(), 1, header.size(), file_.get()) != header.size() ||
      std::fseek(file_.get(), 0, SEEK_END) != 0) {
    ThrowFileError();
  }
}

void WavWriter::Write(std::span<const std::int16_t> interleaved) {
  const std::uint64_t bytes = interleaved.size_bytes();
  if (dataBytes_ + bytes > kMaxDataBytes) throw CSystemErrMessage(EFBIG);
  // Samples are stored little-endian, as the machine holds them.
  static_assert(std::endian::native == std::endian::little);
  if (std::fwrite(interleaved.data(), 1, bytes, file_.get()) != bytes) ThrowFileError();
  dataBytes_ += bytes;
}

void WavWriter::Finish() {
  if (!file_) return;
  WriteHeader();
  if (std::fclose(file_.release()) != 0) ThrowFileError();
}

}  // namespace velvasto
