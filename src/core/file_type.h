#pragma once
// What a file is, judged by its first bytes and never by its name.

#include <cstdio>
#include <filesystem>

namespace velvasto {

enum class FileType : int { Smf = 0, Rcp = 1, G36 = 2, List = 3, Unknown = 4, Undetermined = 5 };

// Where "MThd" was found: at byte 0 (plain), 20 (RIFF MIDI) or 128 (MacBinary).
struct SmfWrapper {
  bool macBinary = false;
  bool riff = false;
  long offset = 0;
};

// The content tests. Each reads from the start of `file` (or the offsets of the MIDI test) and
// fails when the file is too short to hold what it compares.
bool IsStandardMidiFile(std::FILE* file, SmfWrapper* wrapper = nullptr);
bool IsRcpFile(std::FILE* file);
bool IsRcp3File(std::FILE* file);
bool IsList2File(std::FILE* file);
bool IsList3File(std::FILE* file);

// A path and its type, detected once. A file that cannot be opened throws CSystemErrMessage;
// a folder, FIFO or device is Unknown, found without reading it.
class TypeProbe {
 public:
  explicit TypeProbe(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }
  FileType Detect();

 private:
  std::filesystem::path path_;
  FileType type_ = FileType::Undetermined;
};

}  // namespace velvasto
