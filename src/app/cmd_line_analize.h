#pragma once
// The command line: options /P1 /P2 /P3 (list play order), /L (single repeat), /T, /D1 /D2
// (what opening files does to the list), /Commit, /Uninstall, and file paths.
//
// An argument starting with "-" is an option. One starting with "/" is an option when it names
// one of the options above; otherwise, since "/" also starts every absolute path here, it is a
// path when it has a further "/" or names something that exists, and an unknown option when it
// does neither. Option names are compared without regard to case.

#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "app/open_request.h"
#include "core/file_type.h"

namespace velvasto {

class CCmdLineAnalize {
 public:
  // Tells what a file is by its content; may throw the file error of a file it cannot open.
  using TypeDetector = std::function<FileType(const std::filesystem::path&)>;

  // Detects types with TypeProbe unless told otherwise.
  explicit CCmdLineAnalize(TypeDetector detectType = nullptr);

  // Reads `arguments` (without the program name) into the request. Throws CErrMessage 31..35
  // for a repeated or unknown option. Paths are made absolute, so that another instance with
  // another working folder finds the same files; paths beyond the 1024th and files of unknown
  // type are left out without a word.
  void Analize(std::span<const std::string> arguments);

  const OpenRequest& Request() const { return request_; }
  OpenRequest& Request() { return request_; }
  bool InstallFlag() const { return install_; }
  bool UninstallFlag() const { return uninstall_; }

 private:
  // Applies option `name` (without its "/" or "-"); false when there is no such option.
  bool ApplyOption(const std::string& name);
  void AddPath(const std::string& argument);

  TypeDetector detectType_;
  OpenRequest request_;
  bool repeatGiven_ = false;
  bool tGiven_ = false;
  bool install_ = false;
  bool uninstall_ = false;
};

}  // namespace velvasto
