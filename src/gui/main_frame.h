#pragma once
// CMainFrame: the program's top-level window. It carries the menus and accelerators, holds the
// view as its only child, runs the commands, takes dropped files and the requests of later
// starts, asks before it closes (and before the desktop session ends) when the play list has
// unsaved changes, keeps its position in the settings, and cannot grow beyond its designed size.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/open_request.h"
#include "gui/child_view.h"
#include "gui/command_actions.h"

namespace velvasto::gui {

class CMainFrame final : public QMainWindow {
 public:
  explicit CMainFrame(const ViewServices& services);

  CChildView& View() { return *view_; }
  CCommandActions& Actions() { return *actions_; }

  // The player takes over (the start-up's open request), once the window is shown; then
  // `started` runs, and a set-up start (/Commit) opens the file association dialog.
  void Start(std::function<void()> started = nullptr);
  // A later start handed its request over: the player processes it and the window comes to the
  // front.
  void TakeHandOver(OpenRequest request);
  // Restored when minimised, raised and made the active window.
  void BringToFront();
  // The desktop session is about to end: false when the user keeps it from ending. Without
  // `interactionAllowed` nothing is asked.
  bool QueryEndSession(bool interactionAllowed);
  // Runs a command of the menu or the accelerators.
  void RunCommand(int id);
  // Ends the program without asking anything, as a signal to end it asks: open dialogs close
  // unanswered, the window's position is kept, and the event loops return; the song stops when
  // the view goes.
  void EndWithoutAsking();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OpenHelp();
  void StorePosition();

  CVelvastoApp& app_;
  CChildView* view_;
  CCommandActions* actions_;
};

// The local files among dropped URLs, as the file system names them.
std::vector<std::filesystem::path> DroppedFiles(const QList<QUrl>& urls);

}  // namespace velvasto::gui
