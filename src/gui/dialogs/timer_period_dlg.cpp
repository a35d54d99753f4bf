#include "gui/dialogs/timer_period_dlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "core/errors.h"
#include "gui/dialogs/dialog_support.h"

namespace velvasto::gui {

CTimerPeriodDlg::CTimerPeriodDlg(const TimerPeriods& periods, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent),
      periods_(periods),
      reporter_(reporter),
      slider_(new QSlider(Qt::Horizontal, this)),
      current_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("タイマー分解能の設定"));
  slider_->setObjectName(QStringLiteral("period"));
  current_->setObjectName(QStringLiteral("current"));
  slider_->setRange(static_cast<int>(periods_.minimum), static_cast<int>(periods_.maximum));
  slider_->setValue(static_cast<int>(periods_.period));
  slider_->setPageStep(1);
  slider_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
  slider_->installEventFilter(this);
  ShowCurrent(static_cast<int>(periods_.period));

  auto* minimum = new QLabel(QString::asprintf("%2d", static_cast<int>(periods_.minimum)), this);
  auto* maximum = new QLabel(QString::asprintf("%2d", static_cast<int>(periods_.maximum)), this);
  minimum->setObjectName(QStringLiteral("minimum"));
  maximum->setObjectName(QStringLiteral("maximum"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(current_, 0, 0, 1, 5, Qt::AlignHCenter);
  grid->addWidget(minimum, 1, 0, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("ms"), this), 1, 1);
  grid->addWidget(slider_, 1, 2);
  grid->addWidget(maximum, 1, 3, Qt::AlignRight);
  grid->addWidget(new QLabel(QStringLiteral("ms"), this), 1, 4);
  grid->setColumnStretch(2, 1);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CTimerPeriodDlg::OnOk);
  grid->addWidget(buttons, 2, 0, 1, 5);
}

bool CTimerPeriodDlg::eventFilter(QObject* watched, QEvent* event) {
  // The slider has its final position by the time the mouse lets it go, whether the thumb was
  // dragged or the groove clicked.
  if (watched == slider_ && event->type() == QEvent::MouseButtonRelease) ShowCurrent(slider_->value());
  return QDialog::eventFilter(watched, event);
}

void CTimerPeriodDlg::ShowCurrent(int period) { current_->setText(QString::asprintf("タイマー分解能 : %dms", period)); }

void CTimerPeriodDlg::OnOk() {
  const int position = slider_->value();
  if (position < static_cast<int>(periods_.minimum) || position > static_cast<int>(periods_.maximum)) {
    reporter_.ShowError(AppErrorText(errc::kTimerPeriodRange));
    return;
  }
  periods_.period = static_cast<std::uint32_t>(position);
  accept();
}

}  // namespace velvasto::gui
