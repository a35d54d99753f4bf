#include "gui/japanese_ui.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace velvasto::gui {

bool InstallQtJapanese(QCoreApplication& application, QTranslator& translator) {
  if (!translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  return application.installTranslator(&translator);
}

void UseJapaneseFonts() {
  const QString japanese = QStringLiteral("Noto Sans CJK JP");
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), japanese});
  QFont::insertSubstitution(QApplication::font().family(), japanese);
}

}  // namespace velvasto::gui
