#include "playlist/list_file.h"

#include <array>
#include <climits>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/file_type.h"
#include "core/paths.h"
#include "core/regular_file.h"
#include "core/text_codec.h"
#include "core/text_line.h"
#include "core/utf8.h"

namespace velvasto {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kVersion3 = "[Velvasto List File Version 3.0]";
constexpr std::string_view kFileNameTag = "[FileName]";
constexpr std::string_view kSectionEnd = "[Section END]";
// Lines are read into buffers of 261 characters, so at most 260 are kept.
constexpr std::size_t kLineBufferChars = 261;
constexpr std::size_t kMaxPathChars = 260;

using EntryField = std::int32_t ListEntry::*;

struct ValueSection {
  std::string_view tag;
  EntryField field;
};

constexpr std::array<ValueSection, 4> kVersion3Sections{{
    {"[Volume]", &ListEntry::volume},
    {"[MapMode]", &ListEntry::mapMode},
    {"[ForceMap]", &ListEntry::forceMap},
    {"[55Adjust]", &ListEntry::adjust55},
}};

constexpr std::array<ValueSection, 3> kVersion2Sections{{
    {"[Volume]", &ListEntry::volume},
    {"[55Map]", &ListEntry::mapMode},
    {"[55Adjust]", &ListEntry::adjust55},
}};

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Decimal conversion as the C library's atoi does it: leading blanks, a sign, digits up to the
// first non-digit, 0 without digits; out-of-range values stop at the int32 limits.
std::int32_t DecimalValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min<std::int64_t>(magnitude * 10 + (text[i] - '0'), std::int64_t{INT_MAX} + 1);
  }
  const std::int64_t value = negative ? -magnitude : std::min<std::int64_t>(magnitude, INT_MAX);
  return static_cast<std::int32_t>(value);
}

// Trimmed lines of a list file. The end of the file, or a last line without a line end, ends
// reading: such a line is never handed out.
class ListLineReader {
 public:
  explicit ListLineReader(std::FILE* file) : file_(file) {}

  bool Next(std::string_view& line) {
    if (!ReadTextLine(file_, buffer_, kLineBufferChars)) return false;
    line = Trimmed(buffer_);
    return true;
  }

  // Skips lines up to and including one equal to `tag`; false when the file ends first.
  bool SkipPast(std::string_view tag) {
    std::string_view line;
    while (Next(line)) {
      if (line == tag) return true;
    }
    return false;
  }

 private:
  std::FILE* file_;
  std::string buffer_;
};

template <std::size_t N>
void ReadValueSections(ListLineReader& lines, CPlayList& list, int firstNew,
                       const std::array<ValueSection, N>& sections) {
  for (const ValueSection& section : sections) {
    if (!lines.SkipPast(section.tag)) return;
    std::string_view line;
    for (int next = firstNew; next < list.Count();) {
      if (!lines.Next(line)) return;
      if (line.empty()) continue;
      if (line == kSectionEnd) break;
      list.Entry(next++).*section.field = DecimalValue(line);
    }
  }
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += kCrLf;
}

void AppendValueSection(std::string& out, const CPlayList& list, const ValueSection& section) {
  AppendLine(out, section.tag);
  AppendLine(out, "");
  for (const ListEntry& entry : list.Entries()) AppendLine(out, std::to_string(entry.*section.field));
  AppendLine(out, "");
  AppendLine(out, kSectionEnd);
}

}  // namespace

bool ReadListEntries(std::FILE* file, CPlayList& list, std::int32_t newEntryVolume, const ListNameResolver& resolve) {
  const bool version2 = IsList2File(file);
  if (!version2 && !IsList3File(file)) return false;
  std::rewind(file);

  ListLineReader lines(file);
  if (!lines.SkipPast(kFileNameTag)) return false;

  // Reading adds entries; whether that modifies the list is the caller's decision.
  const bool wasModified = list.Modified();
  const int firstNew = list.Count();
  std::string_view line;
  while (!list.Full() && lines.Next(line)) {
    if (line == kSectionEnd) break;
    if (line.empty()) continue;
    if (const auto path = resolve(line)) {
      ListEntry entry;
      entry.path = *path;
      entry.volume = newEntryVolume;
      list.Append(std::move(entry));
    }
  }
  if (version2) {
    ReadValueSections(lines, list, firstNew, kVersion2Sections);
  } else {
    ReadValueSections(lines, list, firstNew, kVersion3Sections);
  }
  list.SetModified(wasModified);
  return true;
}

void LoadListFile(CPlayList& list, const std::filesystem::path& path, ListLoadMode mode, std::int32_t newEntryVolume,
                  const ListNameResolver& resolve) {
  if (mode == ListLoadMode::Replace) {
    list.Clear();
  } else {
    list.EmptyHistory();
  }
  list.SetFileName(path);
  const FilePtr file = OpenRegularStream(path);
  if (!file) throw CErrMessage(errc::kListReadFailed);
  const ListNameResolver findFile = [](std::string_view name) { return FindFile(name); };
  if (!ReadListEntries(file.get(), list, newEntryVolume, resolve ? resolve : findFile)) {
    throw CErrMessage(errc::kListReadFailed);
  }
}

std::string ListFileBytes(const CPlayList& list) {
  std::string out;
  AppendLine(out, kVersion3);
  AppendLine(out, "");
  AppendLine(out, kFileNameTag);
  AppendLine(out, "");
  for (const ListEntry& entry : list.Entries()) {
    const std::string& text = entry.path.native();
    if (Utf8Prefix(text, kMaxPathChars).size() != text.size()) throw CErrMessage(errc::kListWriteFailed);
    // A line end or end-of-file mark inside a name would split or end the list when read back.
    if (text.find_first_of("\r\n\x1a") != std::string::npos) throw CErrMessage(errc::kListWriteFailed);
    const auto bytes = Utf8ToCp932(text);
    if (!bytes) throw CErrMessage(errc::kListWriteFailed);
    AppendLine(out, *bytes);
  }
  AppendLine(out, "");
  AppendLine(out, kSectionEnd);
  for (const ValueSection& section : kVersion3Sections) {
    AppendLine(out, "");
    AppendValueSection(out, list, section);
  }
  return out;
}

void SaveListFile(CPlayList& list, const std::optional<std::filesystem::path>& newFileName) {
  if (newFileName) list.SetFileName(*newFileName);
  const std::string bytes = ListFileBytes(list);
  if (list.FileName().empty() || !ReplaceFileAtomically(list.FileName(), bytes)) {
    throw CErrMessage(errc::kListWriteFailed);
  }
  list.SetModified(false);
}

}  // namespace velvasto
