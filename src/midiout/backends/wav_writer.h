#pragma once
// A 16-bit stereo PCM WAV file written front to back; the sizes in its header are filled in
// when it is finished.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace velvasto {

class WavWriter {
 public:
  // The most frames the format's 4 GiB hold after its 44-byte header.
  static constexpr std::uint64_t kMaxFrames = (0xFFFFFFFFull - 44) / 4;

  // Creates (or truncates) `path`. Throws CSystemErrMessage when it cannot.
  WavWriter(const std::filesystem::path& path, std::uint32_t sampleRate);
  // Finishes the file if Finish was not called; errors are not reported here.
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // Appends interleaved left/right samples. Throws CSystemErrMessage when the file cannot take
  // them, or EFBIG when they would not fit the format's 4 GiB.
  void Write(std::span<const std::int16_t> interleaved);
  // Writes the final sizes and closes the file. Throws CSystemErrMessage.
  void Finish();

  std::uint64_t FramesWritten() const { return dataBytes_ / 4; }

 private:
  void WriteHeader();

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::uint32_t sampleRate_;
  std::uint64_t dataBytes_ = 0;
};

}  // namespace velvasto
