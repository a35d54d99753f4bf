#include "gui/dialogs/data_opt_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

#include "gui/dialogs/dialog_support.h"
#include "gui/dialogs/force_map_dlg.h"

namespace velvasto::gui {

CDataOptDlg::CDataOptDlg(const EntryMapSettings& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      mapMode_(new QButtonGroup(this)),
      adjust55_(new QCheckBox(QStringLiteral("&SC-55無印用データをSC-55mkII以降のGS音源用に補正再生する"), this)),
      forceDetails_(new QPushButton(QStringLiteral("詳細設定"), this)) {
  setWindowTitle(QStringLiteral("データの個別設定"));
  adjust55_->setObjectName(QStringLiteral("adjust55"));
  adjust55_->setChecked(settings.adjust55 != 0);
  forceDetails_->setObjectName(QStringLiteral("forceDetails"));
  forceDetails_->setAutoDefault(false);
  forceDetails_->setEnabled(settings.mapMode == 2);

  auto* grid = new QGridLayout(this);
  const std::vector<QRadioButton*> radios = MakeRadioButtons(
      *mapMode_,
      {QStringLiteral("演奏動作設定の設定に従う"), QStringLiteral("MAP補正の動作を自動スキャンする"),
       QStringLiteral("MAP補正を強制使用する")},
      QStringLiteral("mapMode%1"), settings.mapMode, this);
  for (int mode = 0; mode < 3; ++mode) grid->addWidget(radios[mode], mode, 0);
  grid->addWidget(forceDetails_, 2, 1);
  grid->addWidget(adjust55_, 3, 0, 1, 2);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  grid->addWidget(buttons, 4, 0, 1, 2);
  SetTabOrder({radios[0], radios[1], radios[2], forceDetails_, adjust55_, buttons});

  connect(mapMode_, &QButtonGroup::idClicked, this, [this](int mode) { forceDetails_->setEnabled(mode == 2); });
  connect(forceDetails_, &QPushButton::clicked, this, &CDataOptDlg::OnForceDetails);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDataOptDlg::OnOk);
}

void CDataOptDlg::OnForceDetails() {
  CForceMapDlg dialog(settings_.forceMap, this);
  if (dialog.exec() == QDialog::Accepted) settings_.forceMap = dialog.Map();
}

void CDataOptDlg::OnOk() {
  if (mapMode_->checkedId() >= 0) settings_.mapMode = mapMode_->checkedId();
  settings_.adjust55 = adjust55_->isChecked() ? 1 : 0;
  accept();
}

}  // namespace velvasto::gui
