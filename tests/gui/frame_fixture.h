#pragma once
// The main window on virtual time: a frame over recording devices, songs and list files made in
// a fresh folder with their own settings file, and an answerer for the message boxes and file
// dialogs the program opens.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controller_fixture.h"
#include "gui/main_frame.h"
#include "gui/qt_text.h"

namespace velvasto::test {

// What a modal dialog showed when it was answered.
struct SeenDialog {
  QString kind;  // "message" or "file"
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Chooses `path` in a file dialog the way a user types its whole name into the name field.
// QFileDialog::selectFile leaves the field alone once the field has the focus, which the dialog
// gives it when its window becomes active: whether that happened first would decide the test.
inline void TypeFileName(QFileDialog& files, const std::filesystem::path& path) {
  auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr) << "the file dialog has no name field";
  name->setText(gui::PathToQString(path));
}

// Answers the modal dialogs that open while it lives, in order; a dialog for which no answer is
// left is closed as Escape closes it. Each dialog is recorded.
class ModalAnswers {
 public:
  using Answer = std::function<void(QDialog&)>;

  ModalAnswers() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenDialog(); });
    timer_.start();
  }

  void Push(Answer answer) { answers_.push_back(std::move(answer)); }

  static Answer Click(QMessageBox::StandardButton button) {
    return [button](QDialog& dialog) { static_cast<QMessageBox&>(dialog).button(button)->click(); };
  }
  static Answer ChooseFile(const std::filesystem::path& path) {
    return [path](QDialog& dialog) {
      TypeFileName(static_cast<QFileDialog&>(dialog), path);
      dialog.accept();
    };
  }

  std::vector<SeenDialog> seen;

 private:
  void AnswerOpenDialog() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || answering_) return;
    answering_ = true;
    SeenDialog record;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      record = {"message", box->text(), box->icon(), box->standardButtons()};
    } else {
      record.kind = "file";
    }
    seen.push_back(record);
    if (answers_.empty()) {
      dialog->reject();
    } else {
      const Answer answer = std::move(answers_.front());
      answers_.pop_front();
      answer(*dialog);
    }
    answering_ = false;
  }

  QTimer timer_;
  std::deque<Answer> answers_;
  bool answering_ = false;
};

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() {
    CINIFile::SetSettingsPath(settingsFile);
    app.activePort.Load(devices);
    app.defaultPort = app.activePort;
    app.portSets.Load(devices);
  }
  ~FrameTest() override {
    frame.reset();
    CINIFile::SetSettingsPath({});
  }

  // The window, shown and active; the player has taken the start-up's open request.
  void MakeFrame() {
    frame = std::make_unique<gui::CMainFrame>(gui::ViewServices{app, devices, playback.Timing()});
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->Start();
    Settle();
  }
  gui::CChildView& View() { return frame->View(); }

  // A format-0 song at 120 beats per minute: one note of `note`, `quarters` quarter notes long.
  std::filesystem::path Song(const std::string& name, std::uint8_t note, std::uint32_t quarters = 1) {
    SmfBuilder smf(0, 480);
    smf.AddTrack().Tempo(0, 500'000).NoteOn(0, 0, note, 100).NoteOff(quarters * 480, 0, note).EndOfTrack(0);
    return dir.Write(name, smf.Build());
  }
  // Lets the window handle what is waiting: posted work, repaints.
  static void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // Moves virtual time on, then lets the window handle what the engine posted.
  void AdvanceMs(std::uint64_t ms) {
    for (std::uint64_t done = 0; done < ms; done += 5) playback.Clock().AdvanceMs(5);
    Settle();
  }
  // Chooses a command as the menu or the accelerators do.
  void Run(CommandId command) { frame->RunCommand(static_cast<int>(command)); }
  gui::COrgButton& Button(gui::TransportButton button) {
    return *View().Transport().buttons[static_cast<std::size_t>(button)];
  }
  // The note numbers of the note-ons the built-in synthesizer (the mapper) was sent.
  std::vector<int> PlayedNotes() const {
    std::vector<int> notes;
    for (const std::string& line : devices.Lines("mapper")) {
      if (const auto at = line.find(" MSG 9"); at != std::string::npos)
        notes.push_back(std::stoi(line.substr(at + 8, 2), nullptr, 16));
    }
    return notes;
  }

  TempDir dir;
  std::filesystem::path settingsFile = dir.Path() / "velvasto.ini";
  CVelvastoApp app;
  RecordingCatalogue devices{{"Out A", "Out B"}};
  VirtualPlayback playback;
  std::unique_ptr<gui::CMainFrame> frame;
};

}  // namespace velvasto::test
