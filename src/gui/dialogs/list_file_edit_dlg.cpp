#include "gui/dialogs/list_file_edit_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "app/remembered_folder.h"
#include "core/errors.h"
#include "gui/dialogs/data_opt_dlg.h"
#include "gui/dialogs/dialog_support.h"
#include "gui/qt_text.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {
namespace {

void Require(bool done, std::int32_t code) {
  if (!done) throw CErrMessage(code);
}

}  // namespace

CListFileEditDlg::CListFileEditDlg(const CPlayList& list, bool newList, int volume, ErrorReporter& reporter,
                                   SongFilesChooser chooseFiles, QWidget* parent)
    : QDialog(parent),
      volume_(volume),
      reporter_(reporter),
      chooseFiles_(std::move(chooseFiles)),
      lines_(new QListWidget(this)),
      insert_(new QPushButton(QStringLiteral("挿入"), this)),
      add_(new QPushButton(QStringLiteral("追加"), this)),
      delete_(new QPushButton(QStringLiteral("削除"), this)),
      entrySettings_(new QPushButton(QStringLiteral("個別設定"), this)),
      up_(new QPushButton(QStringLiteral("上へ"), this)),
      down_(new QPushButton(QStringLiteral("下へ"), this)) {
  setWindowTitle(QStringLiteral("リストファイルの編集"));
  if (!newList) working_.CopyFrom(list);
  lines_->setObjectName(QStringLiteral("entries"));
  insert_->setObjectName(QStringLiteral("insert"));
  add_->setObjectName(QStringLiteral("add"));
  delete_->setObjectName(QStringLiteral("delete"));
  entrySettings_->setObjectName(QStringLiteral("entrySettings"));
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));
  lines_->setSelectionMode(QAbstractItemView::SingleSelection);
  lines_->setMinimumSize(fontMetrics().averageCharWidth() * 48, fontMetrics().height() * 16);
  for (int row = 0; row < working_.Count(); ++row) InsertLine(row, working_.Entry(row));
  SelectLine(0);

  auto* grid = new QGridLayout(this);
  grid->addWidget(lines_, 0, 0);
  grid->addLayout(MakeButtonColumn({insert_, add_, delete_, entrySettings_, up_, down_}), 0, 1);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("ｷｬﾝｾﾙ"));
  grid->addWidget(buttons, 1, 0, 1, 2);

  connect(insert_, &QPushButton::clicked, this, &CListFileEditDlg::OnInsert);
  connect(add_, &QPushButton::clicked, this, &CListFileEditDlg::OnAdd);
  connect(delete_, &QPushButton::clicked, this, &CListFileEditDlg::OnDelete);
  connect(entrySettings_, &QPushButton::clicked, this, &CListFileEditDlg::OnEntrySettings);
  connect(up_, &QPushButton::clicked, this, [this] { OnMove(true); });
  connect(down_, &QPushButton::clicked, this, [this] { OnMove(false); });
  connect(lines_, &QListWidget::itemSelectionChanged, this, &CListFileEditDlg::UpdateButtons);
  connect(lines_, &QListWidget::itemActivated, this, &CListFileEditDlg::OnEntrySettings);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  UpdateButtons();
}

void CListFileEditDlg::OnInsert() {
  const std::vector<std::filesystem::path> files = ChooseFiles();
  // Each file goes before the selected entry, after the ones inserted before it, so the files
  // keep the dialog's order and the selected entry stays selected.
  int row = SelectedLine();
  RunShowingErrors(reporter_, [&] {
    for (const std::filesystem::path& file : files) {
      const ListEntry entry = NewEntry(file);
      Require(working_.Insert(row, entry), errc::kListFull);
      InsertLine(row++, entry);
    }
  });
  SelectLine(row);
  UpdateButtons();
}

void CListFileEditDlg::OnAdd() {
  const std::vector<std::filesystem::path> files = ChooseFiles();
  const int firstAdded = working_.Count();
  RunShowingErrors(reporter_, [&] {
    for (const std::filesystem::path& file : files) {
      const ListEntry entry = NewEntry(file);
      Require(working_.Append(entry), errc::kListFull);
      InsertLine(working_.Count() - 1, entry);
    }
  });
  if (SelectedLine() < 0) SelectLine(firstAdded);
  UpdateButtons();
}

void CListFileEditDlg::OnDelete() {
  const int row = SelectedLine();
  if (!RunShowingErrors(reporter_, [&] { Require(working_.Delete(row), errc::kListDeleteFailed); })) return;
  delete lines_->takeItem(row);
  SelectLine(std::min(row, lines_->count() - 1));
  UpdateButtons();
}

void CListFileEditDlg::OnEntrySettings() {
  const int row = SelectedLine();
  if (row < 0) return;
  ListEntry& entry = working_.Entry(row);
  const EntryMapSettings current{entry.mapMode, entry.adjust55, entry.forceMap};
  CDataOptDlg dialog(current, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const EntryMapSettings& chosen = dialog.Settings();
  if (chosen == current) return;
  entry.mapMode = chosen.mapMode;
  entry.adjust55 = chosen.adjust55;
  entry.forceMap = chosen.forceMap;
  working_.SetModified(true);
}

void CListFileEditDlg::OnMove(bool up) {
  const int row = SelectedLine();
  const int target = up ? row - 1 : row + 1;
  if (row < 0 || target < 0 || target >= working_.Count()) return;
  RunShowingErrors(reporter_, [&] {
    const ListEntry entry = working_.Entry(row);
    Require(working_.Delete(row), errc::kListDeleteFailed);
    // The last place is one past the end once the entry is out: append there.
    Require(target < working_.Count() ? working_.Insert(target, entry) : working_.Append(entry), errc::kListFull);
    lines_->insertItem(target, lines_->takeItem(row));
    SelectLine(target);
  });
  UpdateButtons();
}

std::vector<std::filesystem::path> CListFileEditDlg::ChooseFiles() {
  std::vector<std::filesystem::path> files = chooseFiles_(this, RememberedFolder(kPlayFileFolderKey));
  if (files.empty()) return {};
  if (!StoreRememberedFolder(kPlayFileFolderKey, files.front().parent_path())) {
    reporter_.ShowError(AppErrorText(errc::kIniSaveFailed));
    return {};
  }
  return files;
}

ListEntry CListFileEditDlg::NewEntry(const std::filesystem::path& path) const {
  return {.path = path, .volume = volume_, .mapMode = 0, .forceMap = 0, .adjust55 = 0};
}

void CListFileEditDlg::InsertLine(int row, const ListEntry& entry) {
  lines_->insertItem(row, PathToQString(entry.path.filename()));
}

void CListFileEditDlg::SelectLine(int row) {
  if (row >= 0 && row < lines_->count()) lines_->setCurrentRow(row);
}

int CListFileEditDlg::SelectedLine() const {
  const QList<QListWidgetItem*> selected = lines_->selectedItems();
  return selected.isEmpty() ? -1 : lines_->row(selected.front());
}

void CListFileEditDlg::UpdateButtons() {
  const int count = working_.Count();
  const int row = SelectedLine();
  const bool room = count < CPlayList::kMaxEntries;
  insert_->setEnabled(room && row >= 0);
  add_->setEnabled(room);
  delete_->setEnabled(row >= 0);
  entrySettings_->setEnabled(row >= 0);
  up_->setEnabled(row > 0);
  down_->setEnabled(row >= 0 && row < count - 1);
}

}  // namespace velvasto::gui
