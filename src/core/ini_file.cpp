#include "core/ini_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/atomic_file.h"
#include "core/regular_file.h"
#include "core/utf8.h"

namespace velvasto {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// The value of a key line: after the first '=', trimmed, without one pair of enclosing quotes.
std::string_view ValueOf(std::string_view keyLine) {
  std::string_view value = Trim(keyLine.substr(keyLine.find('=') + 1));
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsStoredName(std::string_view name) { return !name.empty() && Trim(name) == name && !HasLineBreak(name); }

// Reads at most `limit` + 1 bytes of the regular file at `path` into `bytes`; errno tells why it
// failed (EINVAL for a FIFO, a device or a folder).
bool ReadFile(const std::filesystem::path& path, std::uintmax_t limit, std::string& bytes) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > limit) {
      errno = EFBIG;
      ok = false;
      break;
    }
  }
  const int saved = errno;
  ::close(fd);
  errno = saved;
  return ok;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

bool IniFile::Load() {
  Parse({});
  std::string bytes;
  if (!ReadFile(path_, kMaxFileBytes, bytes)) return errno == ENOENT;
  Parse(bytes);
  return true;
}

void IniFile::Parse(std::string_view bytes) {
  lines_.clear();
  byteOrderMark_ = bytes.starts_with(kByteOrderMark);
  if (byteOrderMark_) bytes.remove_prefix(kByteOrderMark.size());
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) {
      lines_.push_back(MakeLine(std::string(bytes), ""));
      break;
    }
    std::string_view text = bytes.substr(0, lf);
    const bool crlf = text.ends_with('\r');
    if (crlf) text.remove_suffix(1);
    lines_.push_back(MakeLine(std::string(text), crlf ? "\r\n" : "\n"));
    bytes.remove_prefix(lf + 1);
  }
}

std::string IniFile::Text() const {
  std::string text(byteOrderMark_ ? kByteOrderMark : std::string_view{});
  for (const Line& line : lines_) text.append(line.text).append(line.eol);
  return text;
}

IniFile::Line IniFile::MakeLine(std::string text, std::string eol) {
  Line line{std::move(text), std::move(eol)};
  const std::string_view content = Trim(line.text);
  if (content.starts_with('[')) {
    line.kind = LineKind::Section;
  } else if (!content.starts_with(';') && content.find('=') != std::string_view::npos) {
    line.kind = LineKind::Key;
  }
  return line;
}

std::string_view IniFile::Line::Name() const {
  const std::string_view content = Trim(text);
  if (kind == LineKind::Section) return Trim(content.substr(1, content.find(']') - 1));
  return Trim(content.substr(0, content.find('=')));
}

std::size_t IniFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && EqualIgnoringAsciiCase(lines_[i].Name(), section)) return i;
  }
  return std::string::npos;
}

std::size_t IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
  for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != LineKind::Section; ++i) {
    if (lines_[i].kind == LineKind::Key && EqualIgnoringAsciiCase(lines_[i].Name(), key)) return i;
  }
  return std::string::npos;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view def) const {
  std::string_view value = def;
  const std::size_t header = section.empty() || key.empty() ? std::string::npos : FindSection(section);
  if (header != std::string::npos) {
    const std::size_t line = FindKey(header, key);
    if (line != std::string::npos) value = ValueOf(lines_[line].text);
  }
  return std::string(Utf8Prefix(value, kMaxValueChars));
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
  const std::size_t header = section.empty() || key.empty() ? std::string::npos : FindSection(section);
  return header != std::string::npos && FindKey(header, key) != std::string::npos;
}

int IniFile::GetInt(std::string_view section, std::string_view key, int def) const {
  const std::string text = GetString(section, key, {});
  std::string_view digits = Trim(text);
  const bool negative = digits.starts_with('-');
  if (negative || digits.starts_with('+')) digits.remove_prefix(1);
  std::uint32_t value = 0;
  std::size_t count = 0;
  for (; count < digits.size() && digits[count] >= '0' && digits[count] <= '9'; ++count) {
    value = value * 10u + static_cast<std::uint32_t>(digits[count] - '0');
  }
  if (count == 0) return def;
  return static_cast<int>(negative ? 0u - value : value);
}

std::string IniFile::NewLineEnding() const {
  for (const Line& line : lines_) {
    if (!line.eol.empty()) return line.eol;
  }
  return "\n";
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsStoredName(section) || section.find(']') != std::string_view::npos) return false;
  if (!IsStoredName(key) || key.find('=') != std::string_view::npos || key.starts_with('[') || key.starts_with(';')) {
    return false;
  }
  if (HasLineBreak(value)) return false;

  const std::string eol = NewLineEnding();
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  std::size_t header = FindSection(section);
  if (header != std::string::npos) {
    const std::size_t existing = FindKey(header, key);
    if (existing != std::string::npos) {
      Line& line = lines_[existing];
      std::size_t keep = line.text.find('=') + 1;
      while (keep < line.text.size() && (line.text[keep] == ' ' || line.text[keep] == '\t')) ++keep;
      line.text = line.text.substr(0, keep) + std::string(value);
      return true;
    }
    std::size_t after = header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::Section; ++i) {
      if (lines_[i].kind == LineKind::Key) after = i;
    }
    if (lines_[after].eol.empty()) lines_[after].eol = eol;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, MakeLine(keyLine, eol));
    return true;
  }

  if (!lines_.empty()) {
    if (lines_.back().eol.empty()) lines_.back().eol = eol;
    if (!Trim(lines_.back().text).empty()) lines_.push_back(MakeLine("", eol));
  }
  lines_.push_back(MakeLine("[" + std::string(section) + "]", eol));
  lines_.push_back(MakeLine(keyLine, eol));
  return true;
}

bool IniFile::Save() const { return ReplaceFileAtomically(path_, Text()); }

}  // namespace velvasto
