#include "gui/desktop/program_icon.h"

#include <QDir>

namespace velvasto::gui {

QIcon ProgramIcon() {
  QIcon icon;
  const QDir drawings(QStringLiteral(":/program_icon"));
  for (const QString& file : drawings.entryList(QDir::Files)) icon.addFile(drawings.filePath(file));
  return icon;
}

}  // namespace velvasto::gui
