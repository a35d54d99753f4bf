#include "gui/dialog_prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "gui/dialogs/dialog_commands.h"
#include "gui/dialogs/song_file_dialog.h"
#include "gui/qt_text.h"
#include "midiout/device_error.h"

namespace velvasto::gui {

namespace {

// Qt reads the patterns from the last parentheses of a filter and, with the filter details
// hidden, shows what stands before them: the description exactly as written.
QStringList ListFileFilters() { return {QStringLiteral("Velvaﾘｽﾄﾌｧｲﾙ (*.mlt) (*.mlt)")}; }

std::optional<std::filesystem::path> RunFileDialog(QFileDialog& dialog, const QStringList& filters) {
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QStringToPath(dialog.selectedFiles().front());
}

QMessageBox& Titled(QMessageBox& box) {
  box.setWindowTitle(QString::fromUtf8(kMessageBoxTitle));
  return box;
}

}  // namespace

void ShowErrorBox(QWidget* parent, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QString(), ToQString(text), QMessageBox::Ok, parent);
  Titled(box).exec();
}

void CDialogPrompt::ShowError(const std::string& text) { ShowErrorBox(&parent_, text); }

void CDialogPrompt::ShowDeviceError(const CDeviceErrMessage& error) {
  QMessageBox box(QMessageBox::Critical, QString(), ToQString(error.Message()), QMessageBox::Ok, &parent_);
  box.setInformativeText(ToQString(error.Detail()));
  Titled(box).exec();
}

UserPrompt::Answer CDialogPrompt::Ask(const std::string& question) {
  QMessageBox box(QMessageBox::Question, QString(), ToQString(question),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (Titled(box).exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<std::filesystem::path> CDialogPrompt::ChooseListFileToSave(const std::filesystem::path& folder,
                                                                         const std::filesystem::path& fileName) {
  QFileDialog dialog(&parent_, QString(), PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("mlt"));
  dialog.selectFile(PathToQString(fileName));
  return RunFileDialog(dialog, ListFileFilters());
}

std::optional<std::filesystem::path> CDialogPrompt::ChooseListFileToOpen(const std::filesystem::path& folder) {
  QFileDialog dialog(&parent_, QString(), PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog, ListFileFilters());
}

std::optional<std::filesystem::path> CDialogPrompt::ChooseSongFile(const std::filesystem::path& folder) {
  QFileDialog dialog(&parent_, QString(), PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog, SongFileFilters());
}

std::optional<int> CDialogPrompt::ChooseListEntry(const CPlayList& list) { return gui::ChooseListEntry(&parent_, list); }

}  // namespace velvasto::gui
