#include "gui/dialogs/map_scan_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "gui/dialogs/dialog_support.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

CMapScanDlg::CMapScanDlg(const MapScanStrings& strings, QWidget* parent)
    : QDialog(parent),
      strings_(strings),
      sc88Pro_(new QLineEdit(ToQString(strings.sc88Pro), this)),
      sc88_(new QLineEdit(ToQString(strings.sc88), this)),
      sc55_(new QLineEdit(ToQString(strings.sc55), this)) {
  setWindowTitle(QStringLiteral("MAP補正スキャン文字列の設定"));
  sc88Pro_->setObjectName(QStringLiteral("sc88Pro"));
  sc88_->setObjectName(QStringLiteral("sc88"));
  sc55_->setObjectName(QStringLiteral("sc55"));
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("SC-88&Pro MAP"), sc88Pro_);
  form->addRow(QStringLiteral("SC-&88 MAP"), sc88_);
  form->addRow(QStringLiteral("SC-&55 MAP"), sc55_);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CMapScanDlg::OnOk);
  form->addRow(buttons);
}

void CMapScanDlg::OnOk() {
  strings_ = {ToUtf8(sc88Pro_->text()), ToUtf8(sc88_->text()), ToUtf8(sc55_->text())};
  accept();
}

}  // namespace velvasto::gui
