#include "song/smf_chunks.h"

#include <cstring>

#include "core/errors.h"

namespace velvasto {

namespace {

// Reads big-endian values from the image; running past its end is a truncated file.
class ChunkReader {
 public:
  ChunkReader(std::span<const std::uint8_t> image, std::size_t offset) : image_(image), offset_(offset) {}

  std::span<const std::uint8_t> Take(std::size_t length) {
    if (offset_ > image_.size() || length > image_.size() - offset_) throw CErrMessage(errc::kBadFileFormat);
    const auto bytes = image_.subspan(offset_, length);
    offset_ += length;
    return bytes;
  }
  std::uint32_t BE16() {
    const auto b = Take(2);
    return static_cast<std::uint32_t>(b[0]) << 8 | b[1];
  }
  std::uint32_t BE32() {
    const auto b = Take(4);
    return static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
           static_cast<std::uint32_t>(b[2]) << 8 | b[3];
  }
  bool TagIs(const char* tag) { return std::memcmp(Take(4).data(), tag, 4) == 0; }

 private:
  std::span<const std::uint8_t> image_;
  std::size_t offset_;
};

}  // namespace

SmfLayout ParseSmfChunks(std::span<const std::uint8_t> image, std::size_t headerOffset) {
  ChunkReader reader(image, headerOffset);
  if (!reader.TagIs("MThd")) throw CErrMessage(errc::kBadFileFormat);
  const std::uint32_t headerLength = reader.BE32();
  if (headerLength < 6) throw CErrMessage(errc::kBadFileFormat);
  ChunkReader header(reader.Take(headerLength), 0);
  // The whole 16-bit fields count: a file declaring 256 tracks or format 256 is not taken for
  // one with 0 tracks or format 0.
  const std::uint32_t format = header.BE16();
  const std::uint32_t trackCount = header.BE16();
  const std::uint32_t division = header.BE16();

  if (format > 1) throw CErrMessage(errc::kSmfFormatUnsupported);
  if (trackCount > kSmfMaxTracks) throw CErrMessage(errc::kSmfTooManyTracks);
  // Bit 15 means SMPTE frames; a division of 0 gives no time at all.
  if ((division & 0x8000) != 0 || division == 0) throw CErrMessage(errc::kSmfTimeBaseUnsupported);

  SmfLayout layout;
  layout.format = format;
  layout.division = division;
  layout.tracks.reserve(trackCount);
  for (std::uint32_t i = 0; i < trackCount; ++i) {
    if (!reader.TagIs("MTrk")) throw CErrMessage(errc::kBadFileFormat);
    const std::uint32_t length = reader.BE32();
    layout.tracks.push_back(reader.Take(length));
  }
  return layout;
}

}  // namespace velvasto
