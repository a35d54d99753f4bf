#include "gui/dialogs/play_mode_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"
#include "gui/dialogs/force_map_dlg.h"
#include "gui/qt_text.h"

namespace velvasto::gui {
namespace {

constexpr int kLoopLimitMin = 1;
constexpr int kLoopLimitMax = 255;

QCheckBox* MakeCheck(const QString& text, const char* name, int value, QWidget* parent) {
  auto* check = new QCheckBox(text, parent);
  check->setObjectName(QString::fromLatin1(name));
  check->setChecked(value != 0);
  return check;
}

}  // namespace

PlayBehaviour PlayBehaviour::From(const SettingsBlock& settings, bool gmSystemOff) {
  return {settings.mapMode,         settings.forceMap,        settings.adjust55,
          settings.rcpLoopLimit,    settings.cmResetSend,     settings.gsResetSend,
          settings.xgSystemOnSend,  settings.gm1SystemOnSend, settings.gm2SystemOnSend,
          gmSystemOff,              settings.fix8850,         {settings.sc88ProScan, settings.sc88Scan, settings.sc55Scan}};
}

void PlayBehaviour::ApplyTo(SettingsBlock& settings, bool& gmOff) const {
  settings.mapMode = mapMode;
  settings.forceMap = forceMap;
  settings.adjust55 = adjust55;
  settings.rcpLoopLimit = rcpLoopLimit;
  settings.cmResetSend = cmResetSend;
  settings.gsResetSend = gsResetSend;
  settings.xgSystemOnSend = xgSystemOnSend;
  settings.gm1SystemOnSend = gm1SystemOnSend;
  settings.gm2SystemOnSend = gm2SystemOnSend;
  gmOff = gmSystemOff;
  settings.fix8850 = fix8850;
  settings.sc88ProScan = scan.sc88Pro;
  settings.sc88Scan = scan.sc88;
  settings.sc55Scan = scan.sc55;
}

CPlayModeDlg::CPlayModeDlg(const PlayBehaviour& values, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent),
      values_(values),
      reporter_(reporter),
      mapMode_(new QButtonGroup(this)),
      scanDetails_(new QPushButton(QStringLiteral("詳細設定"), this)),
      forceDetails_(new QPushButton(QStringLiteral("詳細設定"), this)),
      adjust55_(MakeCheck(QStringLiteral("&SC-55無印用データをSC-55mkII以降のGS音源用に補正再生する"), "adjust55",
                          values.adjust55, this)),
      loopLimit_(new QLineEdit(QString::number(values.rcpLoopLimit), this)),
      cmReset_(MakeCheck(QStringLiteral("&CM RESET"), "cmReset", values.cmResetSend, this)),
      gsReset_(MakeCheck(QStringLiteral("&GS RESET"), "gsReset", values.gsResetSend, this)),
      xgSystemOn_(MakeCheck(QStringLiteral("&XG SYSTEM ON"), "xgSystemOn", values.xgSystemOnSend, this)),
      gm1SystemOn_(MakeCheck(QStringLiteral("GM&1 SYSTEM ON"), "gm1SystemOn", values.gm1SystemOnSend, this)),
      gm2SystemOn_(MakeCheck(QStringLiteral("GM&2 SYSTEM ON"), "gm2SystemOn", values.gm2SystemOnSend, this)),
      gmSystemOff_(MakeCheck(QStringLiteral("GM SYSTEM O&FF"), "gmSystemOff", values.gmSystemOff, this)),
      fix8850_(MakeCheck(QStringLiteral("ドラムピッチの設定を&NRPNからExclusiveに変換する（SC-8850バグ対応）"), "fix8850",
                         values.fix8850, this)) {
  setWindowTitle(QStringLiteral("演奏動作設定"));
  scanDetails_->setObjectName(QStringLiteral("scanDetails"));
  forceDetails_->setObjectName(QStringLiteral("forceDetails"));
  scanDetails_->setAutoDefault(false);
  forceDetails_->setAutoDefault(false);
  loopLimit_->setObjectName(QStringLiteral("loopLimit"));
  loopLimit_->setMaxLength(3);
  loopLimit_->setFixedWidth(loopLimit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);

  // Map correction: the radios in the order of their values, the details beside 1 and 2.
  auto* mapBox = new QGroupBox(QStringLiteral("MAP補正"), this);
  auto* mapGrid = new QGridLayout(mapBox);
  const std::vector<QRadioButton*> radios = MakeRadioButtons(
      *mapMode_,
      {QStringLiteral("MAP補正を使用しない"), QStringLiteral("MAP補正の動作を自動スキャンする"),
       QStringLiteral("MAP補正を強制使用する")},
      QStringLiteral("mapMode%1"), values.mapMode, mapBox);
  for (int mode = 0; mode < 3; ++mode) mapGrid->addWidget(radios[mode], mode, 0);
  mapGrid->addWidget(scanDetails_, 1, 1);
  mapGrid->addWidget(forceDetails_, 2, 1);
  mapGrid->setColumnStretch(0, 1);

  auto* loopRow = new QHBoxLayout;
  auto* loopLabel = new QLabel(QStringLiteral("RCPファイル&LOOP打ち切り回数"), this);
  loopLabel->setBuddy(loopLimit_);
  loopRow->addWidget(loopLabel);
  loopRow->addWidget(loopLimit_);
  loopRow->addStretch();

  auto* resetBox = new QGroupBox(QStringLiteral("演奏前に送信する音源リセットメッセージ"), this);
  auto* resetGrid = new QGridLayout(resetBox);
  QCheckBox* const resets[] = {cmReset_, gsReset_, xgSystemOn_, gm1SystemOn_, gm2SystemOn_, gmSystemOff_};
  for (int i = 0; i < 6; ++i) resetGrid->addWidget(resets[i], i % 3, i / 3);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mapBox);
  layout->addWidget(adjust55_);
  layout->addLayout(loopRow);
  layout->addWidget(resetBox);
  layout->addWidget(fix8850_);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  layout->addWidget(buttons);
  SetTabOrder({radios[0], radios[1], scanDetails_, radios[2], forceDetails_, adjust55_, loopLimit_, cmReset_, gsReset_,
               xgSystemOn_, gm1SystemOn_, gm2SystemOn_, gmSystemOff_, fix8850_, buttons});

  // The details buttons start disabled: a map mode other than 0..2 enables neither.
  scanDetails_->setEnabled(false);
  forceDetails_->setEnabled(false);
  EnableDetails(values.mapMode);
  connect(mapMode_, &QButtonGroup::idClicked, this, &CPlayModeDlg::EnableDetails);
  connect(scanDetails_, &QPushButton::clicked, this, &CPlayModeDlg::OnScanDetails);
  connect(forceDetails_, &QPushButton::clicked, this, &CPlayModeDlg::OnForceDetails);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPlayModeDlg::OnOk);
}

void CPlayModeDlg::EnableDetails(int mapMode) {
  if (mapMode < 0 || mapMode > 2) return;
  scanDetails_->setEnabled(mapMode == 1);
  forceDetails_->setEnabled(mapMode == 2);
}

void CPlayModeDlg::OnScanDetails() {
  CMapScanDlg dialog(values_.scan, this);
  if (dialog.exec() == QDialog::Accepted) values_.scan = dialog.Strings();
}

void CPlayModeDlg::OnForceDetails() {
  CForceMapDlg dialog(values_.forceMap, this);
  if (dialog.exec() == QDialog::Accepted) values_.forceMap = dialog.Map();
}

void CPlayModeDlg::OnOk() {
  bool number = false;
  const int loopLimit = loopLimit_->text().trimmed().toInt(&number);
  if (!number || loopLimit < kLoopLimitMin || loopLimit > kLoopLimitMax) {
    reporter_.ShowError(
        ToUtf8(QStringLiteral("%1 から %2 までの整数を入力してください。").arg(kLoopLimitMin).arg(kLoopLimitMax)));
    loopLimit_->setFocus();
    loopLimit_->selectAll();
    return;
  }
  if (mapMode_->checkedId() >= 0) values_.mapMode = mapMode_->checkedId();
  values_.adjust55 = adjust55_->isChecked() ? 1 : 0;
  values_.rcpLoopLimit = loopLimit;
  values_.cmResetSend = cmReset_->isChecked() ? 1 : 0;
  values_.gsResetSend = gsReset_->isChecked() ? 1 : 0;
  values_.xgSystemOnSend = xgSystemOn_->isChecked() ? 1 : 0;
  values_.gm1SystemOnSend = gm1SystemOn_->isChecked() ? 1 : 0;
  values_.gm2SystemOnSend = gm2SystemOn_->isChecked() ? 1 : 0;
  values_.gmSystemOff = gmSystemOff_->isChecked();
  values_.fix8850 = fix8850_->isChecked() ? 1 : 0;
  accept();
}

}  // namespace velvasto::gui
