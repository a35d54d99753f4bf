#include "gui/dialogs/about_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/version_info.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("バージョン情報 Velvasto"));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
  icon->setPixmap(QApplication::windowIcon().pixmap(iconSize, iconSize));
  auto* product =
      new QLabel(ToQString(VersionString("Comments") + "  ver." + VersionString("FileVersion")), this);
  auto* copyright = new QLabel(ToQString(VersionString("LegalCopyright")), this);
  product->setObjectName(QStringLiteral("product"));
  copyright->setObjectName(QStringLiteral("copyright"));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(product, 0, 1);
  grid->addWidget(copyright, 1, 1);
  grid->addWidget(buttons, 2, 0, 1, 2);
  grid->setHorizontalSpacing(16);
}

}  // namespace velvasto::gui
