#include "gui/dialogs/data_select_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

CDataSelectDlg::CDataSelectDlg(const CPlayList& list, QWidget* parent)
    : QDialog(parent), entries_(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("リストプレイデータダイレクト指定"));
  entries_->setObjectName(QStringLiteral("entries"));
  entries_->setMinimumContentsLength(40);
  entries_->setMaxVisibleItems(20);
  for (const ListEntry& entry : list.Entries()) entries_->addItem(PathToQString(entry.path.filename()));
  entries_->setCurrentIndex(entries_->count() > 0 ? 0 : -1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(entries_);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    selected_ = entries_->currentIndex();
    accept();
  });
  layout->addWidget(buttons);
}

}  // namespace velvasto::gui
