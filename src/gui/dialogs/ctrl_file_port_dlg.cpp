#include "gui/dialogs/ctrl_file_port_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"

namespace velvasto::gui {

CCtrlFilePortDlg::CCtrlFilePortDlg(const ControlFilePorts& ports, QWidget* parent)
    : QDialog(parent), ports_(ports) {
  setWindowTitle(QStringLiteral("コントロールファイル送信ポート設定"));
  const std::array<QString, 3> headings{QStringLiteral("CM6ファイル"), QStringLiteral("GSDファイル"),
                                        QStringLiteral("GSD2ファイル")};
  const std::array<int, 3> values{ports_.cm6, ports_.gsd, ports_.gsd2};
  const std::array<QString, 3> names{QStringLiteral("cm6_%1"), QStringLiteral("gsd_%1"), QStringLiteral("gsd2_%1")};

  auto* row = new QHBoxLayout;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    auto* box = new QGroupBox(headings[g], this);
    auto* column = new QVBoxLayout(box);
    groups_[g] = new QButtonGroup(this);
    for (QRadioButton* radio : MakeRadioButtons(
             *groups_[g], {QStringLiteral("送信OFF"), QStringLiteral("ポートA"), QStringLiteral("ポートB")},
             names[g], values[g], box)) {
      column->addWidget(radio);
    }
    row->addWidget(box);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CCtrlFilePortDlg::OnOk);
  layout->addWidget(buttons);
}

void CCtrlFilePortDlg::OnOk() {
  const std::array<int*, 3> targets{&ports_.cm6, &ports_.gsd, &ports_.gsd2};
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    if (groups_[g]->checkedId() >= 0) *targets[g] = groups_[g]->checkedId();
  }
  accept();
}

}  // namespace velvasto::gui
