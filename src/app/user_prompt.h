#pragma once
// The player controller's questions and messages to the user: message boxes and file dialogs in
// the desktop shell, the terminal in velvasto-cli, scripted answers in tests.

#include <filesystem>
#include <optional>
#include <string>

#include "engine/error_reporter.h"

namespace velvasto {

class CPlayList;

class UserPrompt : public ErrorReporter {
 public:
  enum class Answer { Yes, No, Cancel };

  // A question with Yes, No and Cancel (question icon).
  virtual Answer Ask(const std::string& question) = 0;
  // The save dialog of a list file (overwrite prompt, extension "mlt"), opening in `folder` with
  // `fileName` proposed. Nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseListFileToSave(const std::filesystem::path& folder,
                                                                      const std::filesystem::path& fileName) = 0;
  // The open dialog of a list file, opening in `folder`. Nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseListFileToOpen(const std::filesystem::path& folder) = 0;
  // The open dialog of one song file, opening in `folder`. Nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseSongFile(const std::filesystem::path& folder) = 0;
  // The choice of a list entry to jump to: its index, −1 when none is selected; nothing when
  // cancelled.
  virtual std::optional<int> ChooseListEntry(const CPlayList& list) = 0;
};

}  // namespace velvasto
