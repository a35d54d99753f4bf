#pragma once
// The default applications that file types had before the program was made their default, kept
// so that removing the association can give each type its old application back.
//
// One file, in the syntax of the desktop's mimeapps.list: a group "[Previous Defaults]" of
// "<MIME type>=<desktop file name>" lines. A missing file holds nothing; a line that is not such
// an entry (a broken or hand-edited file) is passed over, and dropped when the file is next
// written.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velvasto {

// A desktop file name as the association tools take it: letters, digits, '-', '_' and '.',
// ending in ".desktop", not starting with '-'.
bool IsDesktopFileName(std::string_view name);
// A MIME type "<media>/<subtype>" of the same characters (and '+').
bool IsMimeType(std::string_view type);

class PreviousDefaults {
 public:
  explicit PreviousDefaults(std::filesystem::path file) : file_(std::move(file)) {}

  // The application saved for `mimeType`, if any.
  std::optional<std::string> Find(std::string_view mimeType) const;
  // Saves `desktopFile` for `mimeType`, replacing what was saved for it. False when the file
  // cannot be written (it is then unchanged).
  bool Save(std::string_view mimeType, std::string_view desktopFile) const;
  // Forgets what was saved for `mimeType`. False when the file cannot be written.
  bool Forget(std::string_view mimeType) const;

 private:
  std::map<std::string, std::string, std::less<>> Read() const;
  bool Write(const std::map<std::string, std::string, std::less<>>& entries) const;

  std::filesystem::path file_;
};

}  // namespace velvasto
