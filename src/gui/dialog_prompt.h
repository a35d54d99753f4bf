#pragma once
// The player's questions and messages as the desktop shows them: message boxes (the stop icon
// for errors, the question icon with Yes, No and Cancel for questions) and Qt's file dialogs
// with the player's captions, filters, proposed names and start folders.

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "app/user_prompt.h"

namespace velvasto::gui {

// The title of every message box of the program.
inline constexpr const char* kMessageBoxTitle = "Velvasto";

// The error message box (the stop icon, OK) with `text`, modal to `parent`'s window (to none
// without a parent).
void ShowErrorBox(QWidget* parent, const std::string& text);

class CDialogPrompt final : public UserPrompt {
 public:
  // The dialogs are modal to `parent`'s window.
  explicit CDialogPrompt(QWidget& parent) : parent_(parent) {}

  void ShowError(const std::string& text) override;
  void ShowDeviceError(const CDeviceErrMessage& error) override;
  Answer Ask(const std::string& question) override;
  std::optional<std::filesystem::path> ChooseListFileToSave(const std::filesystem::path& folder,
                                                            const std::filesystem::path& fileName) override;
  std::optional<std::filesystem::path> ChooseListFileToOpen(const std::filesystem::path& folder) override;
  std::optional<std::filesystem::path> ChooseSongFile(const std::filesystem::path& folder) override;
  std::optional<int> ChooseListEntry(const CPlayList& list) override;

 private:
  QWidget& parent_;
};

}  // namespace velvasto::gui
