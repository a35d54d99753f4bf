#pragma once
// The main view's two modeless windows about the song: the property window, made once and kept
// for the view's whole life (it has no parent, so that it stands beside the main window rather
// than above it, and the first time it is shown it is placed there), and the progress window of
// a control file being sent, which exists only while a block is sent and opens without taking
// the keyboard from the main window.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>

#include "gui/dialogs/ctrl_send_dlg.h"
#include "gui/dialogs/data_propaty_dlg.h"
#include "song/song_info.h"

class QWidget;

namespace velvasto::gui {

// Where a window of `size` (its frame included) goes beside `mainWindow` (frame included) on the
// screen area `screen`: to its right, else to its left, else against the screen's right edge;
// level with the main window's top, as far as the screen allows.
QPoint BesideWindow(const QRect& mainWindow, const QSize& size, const QRect& screen);

class SongDataWindows {
 public:
  // `view` is the main view: the progress window is its child, the property window stands
  // beside its window.
  explicit SongDataWindows(QWidget& view);

  void RefreshProperties(const SongInfo* info) { properties_->Refresh(info); }
  // Refreshes the property window and brings it up, in front and active.
  void ShowProperties(const SongInfo* info);
  void HideProperties() { properties_->hide(); }

  // False when the window cannot be made.
  bool OpenProgress(int kind, std::uint32_t total);
  void SetProgress(std::uint32_t sent);
  void CloseProgress() { progress_.reset(); }

 private:
  QWidget& view_;
  std::unique_ptr<CDataPropatyDlg> properties_;
  bool propertiesPlaced_ = false;
  std::unique_ptr<CCtrlSendDlg> progress_;
};

}  // namespace velvasto::gui
