#include "gui/main_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <chrono>
#include <memory>
#include <utility>

#include "app/association/file_association.h"
#include "app/window_origin.h"
#include "core/cini_file.h"
#include "core/errors.h"
#include "core/paths.h"
#include "gui/dialogs/dialog_commands.h"
#include "gui/dialogs/set_ext_dlg.h"
#include "gui/help_page.h"
#include "gui/menu_table.h"
#include "gui/qt_text.h"
#include "gui/settings_commands.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {

namespace {

constexpr std::chrono::milliseconds kLongestWaitForFirstPaint{1000};

bool Is(int id, FrameCommand command) { return id == static_cast<int>(command); }

}  // namespace

std::vector<std::filesystem::path> DroppedFiles(const QList<QUrl>& urls) {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    // The path's own bytes, so that names that are not UTF-8 still open.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!bytes.isEmpty()) paths.emplace_back(bytes.toStdString());
  }
  return paths;
}

CMainFrame::CMainFrame(const ViewServices& services)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      app_(services.app),
      view_(new CChildView(services, this)) {
  setCentralWidget(view_);
  actions_ = new CCommandActions(*this, *menuBar(), [this](CommandId command) { return view_->Query(command); });
  connect(actions_, &CCommandActions::Triggered, this, &CMainFrame::RunCommand);
  connect(view_, &CChildView::CommandStatesMayHaveChanged, actions_, &CCommandActions::Refresh);
  setAcceptDrops(true);
  view_->setFocus();
  // The designed size is also the largest: the view's size plus the menu bar.
  adjustSize();
  setMaximumSize(size());
}

// The window is drawn before the start-up's files are opened, since starting a song may take a
// while; a window that is not drawn soon (minimised, on another desktop) does not hold them up.
void CMainFrame::Start(std::function<void()> started) {
  const auto open = [this, started = std::move(started), once = std::make_shared<bool>(false)] {
    if (std::exchange(*once, true)) return;
    view_->Pump().Post([this, started] {
      view_->Open();
      if (started) started();
      // A set-up start (/Commit) offers the file association once the window is up; queued, so
      // that the engine's notifications go on while the dialog is open.
      if (app_.installFlag) {
        QTimer::singleShot(0, this, [this] { RunCommand(static_cast<int>(CommandId::FileAssociation)); });
      }
    });
  };
  view_->AfterFirstPaint(open);
  QTimer::singleShot(kLongestWaitForFirstPaint, this, open);
}

void CMainFrame::TakeHandOver(OpenRequest request) {
  view_->Pump().Post([this, request = std::move(request)]() mutable {
    BringToFront();
    app_.openRequest = std::move(request);
    view_->Operate([](PlayerController& controller) { controller.ProcessOpenRequest(false); });
  });
}

void CMainFrame::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

bool CMainFrame::QueryEndSession(bool interactionAllowed) {
  if (!interactionAllowed) return true;
  bool agreed = false;
  view_->Operate([&agreed](PlayerController& controller) { agreed = controller.PrepareToClose(); });
  return agreed;
}

void CMainFrame::RunCommand(int id) {
  if (Is(id, FrameCommand::Exit)) {
    close();
    return;
  }
  if (Is(id, FrameCommand::HelpIndex) || Is(id, FrameCommand::Help) || Is(id, FrameCommand::ContextHelp)) {
    OpenHelp();
    return;
  }
  if (Is(id, FrameCommand::About)) {
    ShowAboutBox(this);
    return;
  }
  const auto command = static_cast<CommandId>(id);
  switch (command) {
    case CommandId::NewList:
    case CommandId::EditList:
      RunListEditorCommand(*view_, app_, command == CommandId::NewList);
      break;
    case CommandId::MidiPortSettings:
    case CommandId::TimerPeriod:
    case CommandId::ControlFilePort:
    case CommandId::PlayBehaviour:
    case CommandId::Patchbay:
      RunSettingsCommand(*view_, app_, command);
      break;
    case CommandId::FileAssociation:
      // Not an operation of the player: the song plays on while the dialog is open.
      RunShowingErrors(view_->Prompt(), [this] {
        CFileAssociation association(AssociationPlaces::ForThisUser(), view_->Prompt());
        RunFileAssociationDialog(association, view_->Prompt(), app_.installFlag, this);
      });
      break;
    default:
      view_->Operate([command](PlayerController& controller) { controller.Execute(command); });
      break;
  }
  actions_->Refresh();
}

void CMainFrame::OpenHelp() {
  const std::optional<std::filesystem::path> page = FindHelpPage(ExecutablePath());
  if (page && QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(*page)))) return;
  const std::string where = page ? page->string() : (ExecutablePath().parent_path() / "help" / "index.html").string();
  view_->Prompt().ShowError(CSystemErrMessage(ENOENT).Message() + "\n" + where);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  bool closing = false;
  view_->Operate([&closing](PlayerController& controller) { closing = controller.PrepareToClose(); });
  if (!closing) {
    event->ignore();
    return;
  }
  view_->SongData().HideProperties();
  StorePosition();
  event->accept();
}

void CMainFrame::EndWithoutAsking() {
  view_->SongData().HideProperties();
  StorePosition();
  // Every event loop returns, a modal dialog's too, and none starts any more until the
  // application's own has returned.
  QCoreApplication::exit(0);
}

void CMainFrame::StorePosition() {
  RunShowingErrors(view_->SettingsWriteErrors(), [this] {
    CINIFile settings;
    WriteWindowOrigin(settings, {pos().x(), pos().y()});
  });
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()->urls()).empty()) event->acceptProposedAction();
}

// The files are taken after the drop has ended, so that a question or an error shown while they
// are added does not hold up the program they were dragged from.
void CMainFrame::dropEvent(QDropEvent* event) {
  std::vector<std::filesystem::path> paths = DroppedFiles(event->mimeData()->urls());
  if (paths.empty()) return;
  event->acceptProposedAction();
  view_->Pump().Post([this, paths = std::move(paths)] {
    view_->Operate([&paths](PlayerController& controller) { controller.DropFiles(paths); });
  });
}

}  // namespace velvasto::gui
