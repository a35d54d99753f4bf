#include "gui/dialogs/song_file_dialog.h"

#include <QFileDialog>

#include "gui/qt_text.h"

namespace velvasto::gui {

QStringList SongFileFilters() {
  // Qt reads the patterns from the last parentheses and splits them at blanks; the
  // descriptions keep their own ";" lists, which the dialog shows as they are.
  return {
      QStringLiteral("演奏ﾌｧｲﾙ (*.mid;*.midi;*.rmi;*.rcp;*.r36;*.g36;*.g18) (*.mid *.midi *.rmi *.rcp *.r36 *.g36 *.g18)"),
      QStringLiteral("標準MIDIﾌｧｲﾙ (*.mid;*.midi) (*.mid *.midi)"),
      QStringLiteral("RIFF MIDIﾌｧｲﾙ (*.rmi) (*.rmi)"),
      QStringLiteral("RCPﾌｧｲﾙ (*.rcp;*.r36) (*.rcp *.r36)"),
      QStringLiteral("G36ﾌｧｲﾙ (*.g36;*.g18) (*.g36 *.g18)"),
      // "*.*" would leave out the files whose names have no dot.
      QStringLiteral("すべてのﾌｧｲﾙ (*.*) (*)"),
  };
}

std::vector<std::filesystem::path> ChooseSongFiles(QWidget* parent, const std::filesystem::path& folder) {
  const QStringList chosen = QFileDialog::getOpenFileNames(parent, QString(), PathToQString(folder),
                                                           SongFileFilters().join(QStringLiteral(";;")), nullptr,
                                                           QFileDialog::HideNameFilterDetails);
  std::vector<std::filesystem::path> paths;
  paths.reserve(static_cast<std::size_t>(chosen.size()));
  for (const QString& path : chosen) paths.push_back(QStringToPath(path));
  return paths;
}

}  // namespace velvasto::gui
