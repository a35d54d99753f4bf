#include "song/control_files.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>

#include "core/errors.h"
#include "core/regular_file.h"
#include "core/text_codec.h"

namespace velvasto {

namespace {

namespace fs = std::filesystem;

std::string_view TrimTrailingBlanks(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The name as a file name may stand on the disk: the UTF-8 form the program uses and, where it
// differs, the CP932 bytes themselves (folders copied from old systems keep them).
std::vector<std::string> NameForms(std::string_view name) {
  std::vector<std::string> forms{Cp932ToUtf8(name)};
  if (forms.front() != name && name.find('/') == std::string_view::npos) forms.emplace_back(name);
  return forms;
}

}  // namespace

std::size_t ControlFileSize(ControlFileKind kind) {
  return kind == ControlFileKind::Cm6 ? kCm6FileSize : kGsdFileSize;
}

std::optional<fs::path> FindControlFile(const fs::path& songPath, std::string_view name) {
  name = TrimTrailingBlanks(name);
  if (name.empty()) return std::nullopt;
  const std::vector<std::string> forms = NameForms(name);
  // The name is a file name in the song's folder, never a way out of it.
  const std::string& text = forms.front();
  if (text == "." || text == ".." || text.find_first_of("/\\") != std::string::npos) return std::nullopt;

  const fs::path folder = songPath.has_parent_path() ? songPath.parent_path() : fs::path(".");
  for (const std::string& form : forms) {
    if (const fs::path exact = folder / form; IsRegularFile(exact)) return exact;
  }
  std::optional<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    const bool matches = std::any_of(forms.begin(), forms.end(),
                                     [&entry](const std::string& form) { return EqualIgnoringCase(entry, form); });
    if (!matches || (found && found->filename().string() <= entry) || !IsRegularFile(it->path())) continue;
    found = it->path();
  }
  return found;
}

std::vector<std::uint8_t> ReadControlFile(std::FILE* file, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  if (std::fread(bytes.data(), 1, size, file) != size) throw CErrMessage(errc::kControlFileDamaged);
  return bytes;
}

std::vector<std::uint8_t> LoadControlFile(const fs::path& songPath, std::string_view name, ControlFileKind kind) {
  try {
    const std::optional<fs::path> path = FindControlFile(songPath, name);
    if (!path) return {};
    const FilePtr file = OpenRegularStream(*path);
    if (!file) return {};
    return ReadControlFile(file.get(), ControlFileSize(kind));
  } catch (const CErrMessage&) {
    return {};
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace velvasto
