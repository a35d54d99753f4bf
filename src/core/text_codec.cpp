#include "core/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace velvasto {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// An iconv conversion descriptor, closed when it goes out of scope. A descriptor keeps state
// between calls, so each conversion opens its own and threads never share one.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (IsOpen()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  enum class Stop { Done, InvalidSequence, Truncated };

  // Converts as much of `input` as it can, appending to `output`; on return `input` holds what
  // was not converted.
  Stop Convert(std::string_view& input, std::string& output) {
    char buffer[4096];
    while (true) {
      // iconv's interface takes char**, but never writes through the input pointer.
      char* in = const_cast<char*>(input.data());
      std::size_t inLeft = input.size();
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, input.empty() ? nullptr : &in, &inLeft, &out, &outLeft);
      const int error = errno;
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      input.remove_prefix(input.size() - inLeft);
      if (result != static_cast<std::size_t>(-1)) {
        if (!input.empty()) continue;
        return Stop::Done;
      }
      if (error == E2BIG) continue;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
      return error == EINVAL ? Stop::Truncated : Stop::InvalidSequence;
    }
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 2);
  Iconv codec("UTF-8", "CP932");
  if (!codec.IsOpen()) {
    // Without the code page only ASCII can be read as such.
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        text += c;
      } else {
        text += kReplacementCharacter;
      }
    }
    return text;
  }
  while (true) {
    switch (codec.Convert(bytes, text)) {
      case Iconv::Stop::Done:
        return text;
      case Iconv::Stop::Truncated:
        text += kReplacementCharacter;
        return text;
      case Iconv::Stop::InvalidSequence:
        text += kReplacementCharacter;
        bytes.remove_prefix(1);
        break;
    }
  }
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  Iconv codec("CP932", "UTF-8");
  if (!codec.IsOpen()) {
    if (!IsAscii(text)) return std::nullopt;
    return std::string(text);
  }
  std::string bytes;
  bytes.reserve(text.size());
  if (codec.Convert(text, bytes) != Iconv::Stop::Done) return std::nullopt;
  return bytes;
}

}  // namespace velvasto
