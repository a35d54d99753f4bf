#include "gui/song_data_windows.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <new>
#include <utility>

namespace velvasto::gui {

QPoint BesideWindow(const QRect& mainWindow, const QSize& size, const QRect& screen) {
  int x = mainWindow.right() + 1;
  if (x + size.width() - 1 > screen.right()) {
    const int left = mainWindow.left() - size.width();
    x = left >= screen.left() ? left : std::max(screen.left(), screen.right() + 1 - size.width());
  }
  const int lowestTop = std::max(screen.top(), screen.bottom() + 1 - size.height());
  const int y = std::clamp(mainWindow.top(), screen.top(), lowestTop);
  return {x, y};
}

SongDataWindows::SongDataWindows(QWidget& view) : view_(view), properties_(std::make_unique<CDataPropatyDlg>()) {}

void SongDataWindows::ShowProperties(const SongInfo* info) {
  properties_->Refresh(info);
  if (!std::exchange(propertiesPlaced_, true)) {
    const QWidget& mainWindow = *view_.window();
    // The property window's frame is not known before it is first shown; the main window's
    // stands in for it.
    const QSize frame = mainWindow.frameGeometry().size() - mainWindow.size();
    properties_->adjustSize();
    properties_->move(BesideWindow(mainWindow.frameGeometry(), properties_->size() + frame,
                                   mainWindow.screen()->availableGeometry()));
  }
  properties_->show();
  properties_->raise();
  properties_->activateWindow();
}

bool SongDataWindows::OpenProgress(int kind, std::uint32_t total) {
  try {
    progress_ = std::make_unique<CCtrlSendDlg>(kind, total, &view_);
  } catch (const std::bad_alloc&) {
    return false;
  }
  progress_->setAttribute(Qt::WA_ShowWithoutActivating);
  progress_->show();
  return true;
}

void SongDataWindows::SetProgress(std::uint32_t sent) {
  if (progress_) progress_->SetPos(sent);
}

}  // namespace velvasto::gui
