// Feeds arbitrary bytes to the control-file reader and to the writers of the CM6 and GSD
// blocks. The first byte chooses the kind (CM6, GSD, GSD2); the rest is the file. A file shorter
// than its kind ends in error 8 with its catalogue text; any other file is read and sent as
// well-formed messages: Roland data sets of the kind's model with a true checksum, data bytes
// below 0x80, channel messages of the per-channel set-up. The same bytes, read as a name from
// the header, never find a file outside the song's folder.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string_view>

#include "core/catalogue.h"
#include "core/errors.h"
#include "song/control_blocks.h"
#include "song/control_files.h"

namespace {

using namespace velvasto;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

class CheckingSink final : public ControlMessageSink {
 public:
  explicit CheckingSink(std::uint8_t model) : model_(model) {}

  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    Check(model_ == 0x42 && ((status & 0xF0) == 0xB0 || (status & 0xF0) == 0xC0));
    Check(data1 < 0x80 && data2 < 0x80);
    ++count_;
  }
  void SysEx(std::span<const std::uint8_t> bytes) override {
    Check(bytes.size() >= 11 && bytes.size() <= 266);
    Check(bytes[0] == 0xF0 && bytes[1] == 0x41 && bytes[2] == 0x10 && bytes[3] == model_ && bytes[4] == 0x12);
    Check(bytes.back() == 0xF7);
    unsigned sum = 0;
    for (std::size_t i = 5; i + 1 < bytes.size(); ++i) {
      Check(bytes[i] < 0x80);
      sum += bytes[i];
    }
    Check(sum % 128 == 0);  // the checksum makes the address, data and itself a multiple of 128
    ++count_;
  }
  std::uint32_t Count() const { return count_; }

 private:
  std::uint8_t model_;
  std::uint32_t count_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto kind = static_cast<ControlFileKind>(data[0] % 3);
  const std::span<const std::uint8_t> file(data + 1, size - 1);

  const std::string_view name(reinterpret_cast<const char*>(file.data()), file.size() < 12 ? file.size() : 12);
  Check(!FindControlFile("/nonexistent-velvasto-fuzz/song.rcp", name).has_value());

  std::unique_ptr<std::FILE, decltype(&std::fclose)> stream(
      fmemopen(const_cast<std::uint8_t*>(file.data()), file.size(), "rb"), &std::fclose);
  Check(stream != nullptr);
  const std::size_t needed = ControlFileSize(kind);
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadControlFile(stream.get(), needed);
  } catch (const CErrMessage& error) {
    Check(file.size() < needed);
    Check(error.Code() == errc::kControlFileDamaged && error.Message() == CatalogueText(62009));
    return 0;
  }
  Check(file.size() >= needed && bytes.size() == needed);

  if (kind == ControlFileKind::Cm6) {
    CheckingSink sink(0x16);
    WriteCm6Messages(bytes, sink);
    Check(sink.Count() == kCm6MessageCount);
  } else {
    CheckingSink sink(0x42);
    WriteGsdMessages(bytes, sink);
    Check(sink.Count() == kGsdMessageCount);
  }
  return 0;
}
