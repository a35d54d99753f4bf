#include "gui/dialogs/force_map_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "gui/dialogs/dialog_support.h"

namespace velvasto::gui {

CForceMapDlg::CForceMapDlg(int map, QWidget* parent) : QDialog(parent), map_(map), group_(new QButtonGroup(this)) {
  setWindowTitle(QStringLiteral("強制MAP補正時の補正MAPの設定"));
  const std::array<QString, 4> texts{QStringLiteral("指定無し"), QStringLiteral("SC-88&Pro MAP"),
                                     QStringLiteral("SC-&88 MAP"), QStringLiteral("SC-&55 MAP")};
  auto* box = new QGroupBox(QStringLiteral("MAP指定"), this);
  auto* column = new QVBoxLayout(box);
  for (int value = 0; value < static_cast<int>(texts.size()); ++value) {
    auto* radio = new QRadioButton(texts[static_cast<std::size_t>(value)], box);
    radio->setObjectName(QStringLiteral("map%1").arg(value));
    radio->setChecked(value == map);
    group_->addButton(radio, value);
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
