#pragma once
// The settings file format: a reader and writer of Windows-style INI files that reads values the
// way the Windows private-profile functions do and rewrites a file without disturbing anything
// it does not change.
//
// Format rules:
// - The file is UTF-8. A UTF-8 byte-order mark at the start is skipped when reading and kept
//   when writing.
// - Lines end with LF or CR LF; both are read. Every line keeps its own ending when the file is
//   rewritten, and lines we add take the ending of the file's first line (LF for a new file).
//   A last line without an ending keeps that too.
// - A line whose first non-blank character is '[' starts a section; its name runs up to the
//   first ']' (or the end of the line) with blanks trimmed. A line whose first non-blank
//   character is ';' is a comment. Any other line holding '=' is a key: the name is the text
//   before the first '=', the value the text after it, both with blanks (space, tab, CR)
//   trimmed; a value enclosed in a matching pair of double or single quotes loses the quotes.
//   Lines without '=' and keys before the first section belong to no key and are kept as they
//   are.
// - Section and key names are compared without regard to ASCII case.
// - Duplicates: the first section of a name is the only one read or written, and within it the
//   first key of a name. Later duplicates are kept in the file untouched.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velvasto {

class IniFile {
 public:
  // Longest string value a read returns, in characters (Unicode code points).
  static constexpr std::size_t kMaxValueChars = 260;
  // Largest settings file we read; anything bigger is not a settings file.
  static constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

  // An empty file that Save() writes to `path`.
  explicit IniFile(std::filesystem::path path = {});

  // Reads the file at Path(). A missing file loads as empty and counts as success. A file that
  // exists but cannot be read (or is larger than kMaxFileBytes, or is no regular file: a FIFO,
  // a device) loads as empty and returns false, so that callers do not overwrite what they
  // could not read.
  bool Load();
  // Replaces the contents with `bytes`, as if read from a file.
  void Parse(std::string_view bytes);
  // The file's bytes as Save() writes them; Parse(x) then Text() gives back x unchanged.
  std::string Text() const;

  const std::filesystem::path& Path() const { return path_; }

  // The value of `key` in `section`, or `def` when there is none; either way cut to
  // kMaxValueChars characters, never inside a UTF-8 sequence.
  std::string GetString(std::string_view section, std::string_view key, std::string_view def) const;
  // The value read as GetPrivateProfileIntW does: leading blanks, an optional sign, then decimal
  // digits up to the first non-digit (wrapping modulo 2^32 as the Windows call does). A missing
  // key, or a value with no digit there, gives `def`.
  int GetInt(std::string_view section, std::string_view key, int def) const;
  // Whether `section` holds `key`, with any value (an empty one too).
  bool HasKey(std::string_view section, std::string_view key) const;

  // Sets `key` in `section` to `value`: replaces the value of an existing key in place (the
  // text up to and including '=' and the blanks after it stay as they were), or adds the key
  // after the last key of the section, or adds the section at the end of the file. Returns
  // false, changing nothing, for names or values the format cannot hold: an empty or
  // untrimmed name, a section name with ']', a key name with '=' or starting with '[' or ';',
  // or any line break.
  bool SetString(std::string_view section, std::string_view key, std::string_view value);

  // Replaces the file at Path() atomically: the text goes to a temporary file in the same
  // folder, which is flushed to the disk and renamed over the old file. A symbolic link is
  // followed, so the file it points to is replaced. On any failure the old file is left as it
  // was, the temporary file is removed and the result is false.
  bool Save() const;

 private:
  enum class LineKind { Other, Section, Key };
  struct Line {
    std::string text;  // without its ending
    std::string eol;   // "\n", "\r\n" or "" (last line without an ending)
    LineKind kind = LineKind::Other;
    std::string_view Name() const;  // section or key name, trimmed
  };

  static Line MakeLine(std::string text, std::string eol);
  // Index of the first section header named `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the first key named `key` after the header at `sectionLine`, or npos.
  std::size_t FindKey(std::size_t sectionLine, std::string_view key) const;
  std::string NewLineEnding() const;

  std::filesystem::path path_;
  bool byteOrderMark_ = false;
  std::vector<Line> lines_;
};

}  // namespace velvasto
