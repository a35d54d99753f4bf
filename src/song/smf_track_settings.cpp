#include "song/smf_track_settings.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/regular_file.h"

namespace velvasto {

namespace {

constexpr std::size_t kMaxLineLength = 256;
constexpr int kMaxDirectiveLines = 100;
// A track settings file is a short text; a huge one (a line that never ends) is read no further.
constexpr long kMaxBytesRead = 1L << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(text[i]) != prefix[i]) return false;
  }
  return true;
}

bool EqualsNoCase(std::string_view text, std::string_view word) {
  return text.size() == word.size() && StartsWithNoCase(text, word);
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A track number: digits, optionally followed by one ":". 0 when the text is not one.
std::size_t TrackNumber(std::string_view text) {
  if (!text.empty() && text.back() == ':') text.remove_suffix(1);
  if (text.empty() || text.size() > 3) return 0;
  std::size_t number = 0;
  for (char c : text) {
    if (!IsDigit(c)) return 0;
    number = number * 10 + static_cast<std::size_t>(c - '0');
  }
  return number;
}

}  // namespace

bool ApplyTrackSettingsLine(std::string_view line, TrackSettings& settings) {
  if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
  const std::vector<std::string_view> tokens = Tokens(line);
  if (tokens.empty() || !StartsWithNoCase(tokens[0], "TRACK")) return false;

  std::size_t next = 1;
  std::string_view numberText = tokens[0].substr(5);
  if (numberText.empty() && tokens.size() > 1) numberText = tokens[next++];
  const std::size_t number = TrackNumber(numberText);
  if (number == 0) return false;
  if (number > settings.size()) return true;
  TrackSetting& setting = settings[number - 1];

  while (next < tokens.size()) {
    const std::string_view token = tokens[next++];
    const std::size_t colon = token.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = token.substr(0, colon + 1);
    std::string_view value = token.substr(colon + 1);
    if (value.empty() && next < tokens.size() && tokens[next].find(':') == std::string_view::npos &&
        (EqualsNoCase(name, "PORT:") || EqualsNoCase(name, "CH:"))) {
      value = tokens[next++];
    }
    if (EqualsNoCase(name, "PORT:")) {
      if (!value.empty() && IsLetter(value[0])) setting.port = Upper(value[0]) == 'A' ? PortId::A : PortId::B;
    } else if (EqualsNoCase(name, "CH:")) {
      if (EqualsNoCase(value, "OFF")) setting.silenced = true;
    }
  }
  return true;
}

TrackSettings ReadTrackSettingsFile(const std::filesystem::path& songPath) {
  TrackSettings settings{};
  std::filesystem::path settingsPath = songPath;
  settingsPath.replace_extension(".mtk");
  // Only a regular file: a FIFO or a device (a link to /dev/zero) is no settings file.
  const FilePtr file = OpenRegularStream(settingsPath);
  if (!file) return settings;

  std::string line;
  int directives = 0;
  long bytesRead = 0;
  bool atEnd = false;
  while (!atEnd && directives < kMaxDirectiveLines) {
    // The first 256 characters of the line count; the rest up to the line end is skipped.
    line.clear();
    int c = 0;
    while (bytesRead < kMaxBytesRead && (c = std::fgetc(file.get())) != EOF) {
      ++bytesRead;
      if (c == '\n') break;
      if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    }
    atEnd = c == EOF || bytesRead >= kMaxBytesRead;
    if (ApplyTrackSettingsLine(line, settings)) ++directives;
  }
  return settings;
}

}  // namespace velvasto
