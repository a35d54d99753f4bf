#pragma once
// The program speaks Japanese: Qt's own texts (standard buttons, file and colour dialogs) from
// Qt's Japanese translation, and Japanese text drawn in a Japanese font.

class QCoreApplication;
class QTranslator;

namespace velvasto::gui {

// Loads Qt's Japanese translation (qtbase_ja from Qt's translations folder) into `translator`
// and installs it; false when the translation is not there (Qt's English texts remain).
bool InstallQtJapanese(QCoreApplication& application, QTranslator& translator);

// "Arial" is served by its metric-compatible Liberation Sans, and Japanese characters of any
// font are drawn in Noto Sans CJK JP (not a Chinese form of the same characters).
void UseJapaneseFonts();

}  // namespace velvasto::gui
