#pragma once
// The About box "バージョン情報 Velvasto": the program's icon, its product line
// ("<Comments>  ver.<FileVersion>") and its copyright line, from the version constants fixed at
// build time.

#include <QDialog>

namespace velvasto::gui {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace velvasto::gui
