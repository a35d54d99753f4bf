// Feeds arbitrary bytes to the settings file reader and writer. Layout of an input: three length
// bytes, then a section name, a key name and a value of those lengths, then the file's bytes.
// Besides not crashing, the reader must give back the file byte for byte, a stored value must
// read back, and storing one key must not change what any other key reads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string_view Take(std::string_view& input, std::size_t length) {
  const std::string_view taken = input.substr(0, length);
  input.remove_prefix(taken.size());
  return taken;
}

// A value that reads back exactly as written: no blanks or quotes at its ends, short enough.
bool ReadsBackUnchanged(std::string_view value) {
  if (value.size() > velvasto::IniFile::kMaxValueChars) return false;
  for (const char edge : {value.empty() ? 'x' : value.front(), value.empty() ? 'x' : value.back()}) {
    if (edge == ' ' || edge == '\t' || edge == '\r' || edge == '"' || edge == '\'') return false;
  }
  return true;
}

std::string FlipAsciiCase(std::string_view text) {
  std::string flipped(text);
  for (char& c : flipped) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
  }
  return flipped;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 0x20) : a[i];
    const char y = (b[i] >= 'a' && b[i] <= 'z') ? static_cast<char>(b[i] - 0x20) : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t sectionLength = static_cast<std::uint8_t>(input[0]) % 16;
  const std::size_t keyLength = static_cast<std::uint8_t>(input[1]) % 16;
  const std::size_t valueLength = static_cast<std::uint8_t>(input[2]) % 64;
  input.remove_prefix(3);
  const std::string section(Take(input, sectionLength));
  const std::string key(Take(input, keyLength));
  const std::string value(Take(input, valueLength));

  velvasto::IniFile file;
  file.Parse(input);
  Check(file.Text() == input);

  const std::string otherKey = key + "2";
  const std::string otherBefore = file.GetString(section, otherKey, "default");
  const std::string velvastoBefore = file.GetString("Velvasto", "Volume Value", "default");
  file.GetInt(section, key, -1);

  if (!file.SetString(section, key, value)) {
    Check(file.Text() == input);
    return 0;
  }
  velvasto::IniFile reread;
  reread.Parse(file.Text());
  if (ReadsBackUnchanged(value)) Check(reread.GetString(FlipAsciiCase(section), FlipAsciiCase(key), "") == value);
  Check(reread.GetString(section, otherKey, "default") == otherBefore);
  const bool sameAsVelvastoKey = reread.GetString("Velvasto", "Volume Value", "default") == velvastoBefore;
  Check(sameAsVelvastoKey ||
        (EqualIgnoringAsciiCase(section, "Velvasto") && EqualIgnoringAsciiCase(key, "Volume Value")));
  return 0;
}
