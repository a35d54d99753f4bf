#include "gui/dialogs/midi_port_set_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <array>

#include "core/errors.h"
#include "gui/dialogs/dialog_support.h"
#include "gui/dialogs/midi_port_set_item_dlg.h"
#include "gui/qt_text.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {
namespace {

struct Column {
  const char16_t* title;
  int width;
};
constexpr std::array<Column, 4> kColumns{{{u"接続音源名", 75}, {u"検索文字列", 75}, {u"ポートA", 150}, {u"ポートB", 150}}};

QStringList RowTexts(const CMIDIPortSet& set) {
  return {ToQString(set.Label()), ToQString(set.ScanString()), ToQString(set.PortAName()),
          set.PortB() == CMIDIPort::kNoPort ? QString() : ToQString(set.PortBName())};
}

}  // namespace

CMIDIPortSetDlg::CMIDIPortSetDlg(CMIDIPortSetCollection& portSets, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent),
      portSets_(portSets),
      reporter_(reporter),
      use_(new QCheckBox(QStringLiteral("仮想MIDIパッチベイ機能を有効にする。"), this)),
      list_(new QTreeWidget(this)),
      add_(new QPushButton(QStringLiteral("追加"), this)),
      change_(new QPushButton(QStringLiteral("変更"), this)),
      delete_(new QPushButton(QStringLiteral("削除"), this)),
      up_(new QPushButton(QStringLiteral("上へ"), this)),
      down_(new QPushButton(QStringLiteral("下へ"), this)) {
  setWindowTitle(QStringLiteral("仮想MIDIパッチベイの設定"));
  copy_.CopyFrom(portSets);
  use_->setObjectName(QStringLiteral("use"));
  list_->setObjectName(QStringLiteral("sets"));
  add_->setObjectName(QStringLiteral("add"));
  change_->setObjectName(QStringLiteral("change"));
  delete_->setObjectName(QStringLiteral("delete"));
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));

  use_->setChecked(copy_.Use());
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  QStringList titles;
  for (const Column& column : kColumns) titles << QString::fromUtf16(column.title);
  list_->setHeaderLabels(titles);
  int totalWidth = 0;
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    const int width = std::max(kColumns[i].width, list_->fontMetrics().horizontalAdvance(titles[i]) + 24);
    list_->setColumnWidth(static_cast<int>(i), width);
    totalWidth += width;
  }
  list_->setMinimumSize(totalWidth + 8, list_->fontMetrics().height() * 12);
  for (int i = 0; i < copy_.SetsInUse(); ++i) InsertRow(i);
  SelectRow(0);

  auto* grid = new QGridLayout(this);
  grid->addWidget(use_, 0, 0, 1, 2);
  grid->addWidget(list_, 1, 0);
  grid->addLayout(MakeButtonColumn({add_, change_, delete_, up_, down_}), 1, 1);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  grid->addWidget(buttons, 2, 0, 1, 2);

  connect(add_, &QPushButton::clicked, this, &CMIDIPortSetDlg::OnAdd);
  connect(change_, &QPushButton::clicked, this, &CMIDIPortSetDlg::OnChange);
  connect(delete_, &QPushButton::clicked, this, &CMIDIPortSetDlg::OnDelete);
  connect(up_, &QPushButton::clicked, this, [this] { OnMove(true); });
  connect(down_, &QPushButton::clicked, this, [this] { OnMove(false); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CMIDIPortSetDlg::UpdateButtons);
  connect(list_, &QTreeWidget::itemActivated, this, &CMIDIPortSetDlg::OnChange);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMIDIPortSetDlg::OnOk);
  UpdateButtons();
}

void CMIDIPortSetDlg::OnAdd() {
  const int next = copy_.SetsInUse();
  // The set dialog would only be filled in to be thrown away: refuse at once.
  if (next >= CMIDIPortSetCollection::kSetCount) {
    reporter_.ShowError(AppErrorText(errc::kPortSetAddFailed));
    return;
  }
  CMIDIPortSet fresh = copy_.Set(next);
  fresh.Clear();
  CMIDIPortSetItemDlg dialog(fresh, reporter_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const CMIDIPortSet& made = dialog.Set();
  const bool added = RunShowingErrors(reporter_, [&] {
    copy_.Add(made.Label(), made.ScanString(), made.PortCount(), made.PortA(), made.PortB());
  });
  if (!added) return;
  InsertRow(next);
  SelectRow(next);
}

void CMIDIPortSetDlg::OnChange() {
  const int row = SelectedRow();
  if (row < 0) return;
  CMIDIPortSetItemDlg dialog(copy_.Set(row), reporter_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  copy_.Set(row).TakeContents(dialog.Set());
  delete list_->takeTopLevelItem(row);
  InsertRow(row);
  SelectRow(row);
}

void CMIDIPortSetDlg::OnDelete() {
  const int row = SelectedRow();
  if (!RunShowingErrors(reporter_, [&] { copy_.Delete(row); })) return;
  delete list_->takeTopLevelItem(row);
  SelectRow(std::min(row, list_->topLevelItemCount() - 1));
}

void CMIDIPortSetDlg::OnMove(bool up) {
  const int row = SelectedRow();
  if (!RunShowingErrors(reporter_, [&] { up ? copy_.MoveUp(row) : copy_.MoveDown(row); })) return;
  const int target = up ? row - 1 : row + 1;
  list_->insertTopLevelItem(target, list_->takeTopLevelItem(row));
  SelectRow(target);
}

void CMIDIPortSetDlg::OnOk() {
  copy_.SetUse(use_->isChecked());
  if (!copy_.Save()) {
    reporter_.ShowError(AppErrorText(errc::kPatchbaySaveFailed));
    return;
  }
  portSets_.CopyFrom(copy_);
  accept();
}

void CMIDIPortSetDlg::InsertRow(int index) {
  list_->insertTopLevelItem(index, new QTreeWidgetItem(RowTexts(copy_.Set(index))));
}

void CMIDIPortSetDlg::SelectRow(int row) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (item) list_->setCurrentItem(item);
}

int CMIDIPortSetDlg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CMIDIPortSetDlg::UpdateButtons() {
  const bool any = SelectedRow() >= 0;
  for (QPushButton* button : {change_, delete_, up_, down_}) button->setEnabled(any);
}

}  // namespace velvasto::gui
