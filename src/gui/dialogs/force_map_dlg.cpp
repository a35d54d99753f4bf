#include "gui/dialogs/force_map_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"

namespace velvasto::gui {

CForceMapDlg::CForceMapDlg(int map, QWidget* parent) : QDialog(parent), map_(map), group_(new QButtonGroup(this)) {
  setWindowTitle(QStringLiteral("強制MAP補正時の補正MAPの設定"));
  auto* box = new QGroupBox(QStringLiteral("MAP指定"), this);
  auto* column = new QVBoxLayout(box);
  for (QRadioButton* radio : MakeRadioButtons(*group_,
                                              {QStringLiteral("指定無し"), QStringLiteral("SC-88&Pro MAP"),
                                               QStringLiteral("SC-&88 MAP"), QStringLiteral("SC-&55 MAP")},
                                              QStringLiteral("map%1"), map, box)) {
    column->addWidget(radio);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CForceMapDlg::OnOk);
  layout->addWidget(buttons);
}

void CForceMapDlg::OnOk() {
  if (group_->checkedId() >= 0) map_ = group_->checkedId();
  accept();
}

}  // namespace velvasto::gui
